#include "folderchoice/folder_picker_win32.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

// Holds one COM interface pointer and releases it.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  Interface** Receive() { return &pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

bool IsExistingFolder(const std::wstring& path) {
  DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void OpenIn(IFileOpenDialog& dialog, const std::wstring& folder) {
  if (!IsExistingFolder(folder)) return;
  ComPtr<IShellItem> item;
  if (SUCCEEDED(SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_PPV_ARGS(item.Receive())))) {
    dialog.SetFolder(item.get());
  }
}

// A typed path may hold "." or ".." (as «D:\Games\.»), and not every
// picker resolves them: the folder is kept as the file system names it.
std::wstring Resolved(const wchar_t* path) {
  DWORD size = GetFullPathNameW(path, 0, nullptr, nullptr);
  std::wstring full(size, L'\0');
  DWORD length = size ? GetFullPathNameW(path, size, full.data(), nullptr) : 0;
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return full;
}

std::string PathOf(IFileOpenDialog& dialog) {
  ComPtr<IShellItem> item;
  wchar_t* path = nullptr;
  if (FAILED(dialog.GetResult(item.Receive())) || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) return {};
  std::string folder = WideToUtf8(Resolved(path));
  CoTaskMemFree(path);
  return folder;
}

}  // namespace

PickerAnswer PickFolder(HWND owner, const std::wstring& title, const std::wstring& start_folder) {
  ComPtr<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(dialog.Receive())))) {
    return {};
  }
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  options |= FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR;
  if (FAILED(dialog->SetOptions(options)) || FAILED(dialog->SetTitle(title.c_str()))) return {};
  OpenIn(*dialog.get(), start_folder);
  HRESULT shown = dialog->Show(owner);
  if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return {true, std::nullopt};
  if (FAILED(shown)) return {};
  return {true, PathOf(*dialog.get())};
}

}  // namespace tolvashu
