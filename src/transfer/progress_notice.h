// The notice that asks the user to wait while a transfer runs. The engine
// shows it at its start and unloads it at its end; the front end decides what
// it looks like.
#pragma once

namespace tolvashu {

class ProgressNotice {
 public:
  virtual ~ProgressNotice() = default;
  // Shows the notice (created afresh) and makes sure it is drawn before the
  // caller goes on with work that does not yield to the window system.
  virtual void Show() = 0;
  // Destroys the notice.
  virtual void Unload() = 0;
};

}  // namespace tolvashu
