#include "framework/registry.h"

#include "framework/exceptions.h"
#include "framework/text_encoding.h"

namespace {

std::wstring wide(const std::string& text) { return efir::text::fromAnsi(text); }

}  // namespace

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  CloseKey();
  std::wstring path = wide(key.empty() || key[0] != '\\' ? key : key.substr(1));
  const REGSAM access = KEY_READ | KEY_WRITE;
  LSTATUS status = canCreate ? RegCreateKeyExW(root_, path.c_str(), 0, nullptr, 0, access, nullptr, &key_, nullptr)
                             : RegOpenKeyExW(root_, path.c_str(), 0, access, &key_);
  if (status != ERROR_SUCCESS) key_ = nullptr;
  return key_ != nullptr;
}

void TRegistry::CloseKey() {
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
}

void TRegistry::requireKey(const std::string& name) const {
  if (!key_) throw Exception("No registry key is open for '" + name + "'");
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  requireKey(name);
  std::wstring data = wide(value);
  DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  if (RegSetValueExW(key_, wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), bytes) !=
      ERROR_SUCCESS)
    throw Exception("Failed to set data for '" + name + "'");
}

std::string TRegistry::ReadString(const std::string& name) {
  requireKey(name);
  std::wstring valueName = wide(name);
  DWORD type = 0, bytes = 0;
  if (RegQueryValueExW(key_, valueName.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw Exception("Invalid data type for '" + name + "'");
  std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key_, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) !=
      ERROR_SUCCESS)
    throw Exception("Failed to get data for '" + name + "'");
  data.resize(bytes / sizeof(wchar_t));
  while (!data.empty() && data.back() == L'\0') data.pop_back();
  return efir::text::toAnsi(data);
}

bool TRegistry::ValueExists(const std::string& name) {
  return key_ && RegQueryValueExW(key_, wide(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const std::string& name) {
  return key_ && RegDeleteValueW(key_, wide(name).c_str()) == ERROR_SUCCESS;
}
