// Where a test finds things: the source tree, the build tree with its fixtures, the
// loopback HTTP server, and the folder that collects screenshots for people to look at.
#pragma once

#include <string>

namespace efir::test {

std::string sourceDir();                          // EFIR_SOURCE_DIR
std::string buildDir();                           // EFIR_BUILD_DIR
std::string fixturePath(const std::string& name); // build/fixtures/NAME
std::string screenshotPath(const std::string& name);  // build/screenshots/NAME.png
int httpPort();                                   // EFIR_HTTP_PORT
std::string httpUrl(const std::string& path);     // http://127.0.0.1:PORT/PATH

}  // namespace efir::test
