// One open registry key at a time under a root (HKEY_CURRENT_USER by default), with string
// values; the key is closed with the object. Failures to write raise Exception.
//
//   TRegistry reg;
//   if (reg.OpenKey("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", false))
//     reg.WriteString(name, programPath);
#pragma once

#include <windows.h>

#include <string>

class TRegistry {
 public:
  explicit TRegistry(HKEY root = HKEY_CURRENT_USER) : root_(root) {}
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;
  ~TRegistry() { CloseKey(); }

  // The key path is taken from the root; a leading backslash is allowed. False when the key
  // is missing (and not to be created) or cannot be opened.
  bool OpenKey(const std::string& key, bool canCreate);
  void CloseKey();
  bool HasKey() const { return key_ != nullptr; }

  void WriteString(const std::string& name, const std::string& value);
  std::string ReadString(const std::string& name);   // empty when the value is missing
  bool ValueExists(const std::string& name);
  bool DeleteValue(const std::string& name);

 private:
  void requireKey(const std::string& name) const;

  HKEY root_;
  HKEY key_ = nullptr;
};
