#include "app/console_notice.h"

#include "app/app_texts.h"

namespace tolvashu {

void ConsoleNotice::Show() { io_.WriteText(texts::kForm3Label1); }

}  // namespace tolvashu
