// A server on 127.0.0.1 that accepts connections and never answers them: what a station whose
// server hangs looks like to a client, until the client's own time-out.
//
//   efir::test::SilentServer server;
//   open(server.url("live.mp3"));       // connects, sends its request, hears nothing
//   server.connections();               // how many clients have connected so far
//   server.closedConnections();         // how many of them have given up since
#pragma once

#include <winsock2.h>

#include <string>
#include <vector>

namespace efir::test {

class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;

  bool ok() const { return listener_ != INVALID_SOCKET; }
  // http://127.0.0.1:PORT/PATH
  std::string url(const std::string& path) const;
  // Takes the connections waiting to be accepted (and holds them open, silent); the number
  // taken so far.
  int connections();
  // Of those, the ones the client has closed (what it sent is read and dropped).
  int closedConnections();

 private:
  bool started_ = false;  // Winsock
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  struct Connection {
    SOCKET socket;
    bool closed;
  };
  std::vector<Connection> accepted_;
};

}  // namespace efir::test
