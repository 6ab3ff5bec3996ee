#include "tests/support/paths.h"

#include <windows.h>

#include <cstdlib>
#include <stdexcept>

namespace efir::test {
namespace {

std::string env(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) throw std::runtime_error(std::string("test environment lacks ") + name);
  return value;
}

}  // namespace

std::string sourceDir() { return env("EFIR_SOURCE_DIR"); }
std::string buildDir() { return env("EFIR_BUILD_DIR"); }
std::string fixturePath(const std::string& name) { return buildDir() + "/fixtures/" + name; }

std::string screenshotPath(const std::string& name) {
  std::string dir = buildDir() + "/screenshots";
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir + "/" + name + ".png";
}

int httpPort() { return std::stoi(env("EFIR_HTTP_PORT")); }
std::string httpUrl(const std::string& path) {
  return "http://127.0.0.1:" + std::to_string(httpPort()) + "/" + path;
}

}  // namespace efir::test
