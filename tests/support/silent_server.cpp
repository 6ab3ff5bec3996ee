#include "tests/support/silent_server.h"

namespace efir::test {

SilentServer::SilentServer() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  started_ = true;
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof(address);
  u_long nonBlocking = 1;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      listen(listener, SOMAXCONN) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
      ioctlsocket(listener, FIONBIO, &nonBlocking) != 0) {
    closesocket(listener);
    return;
  }
  listener_ = listener;
  port_ = ntohs(address.sin_port);
}

SilentServer::~SilentServer() {
  for (const Connection& connection : accepted_) closesocket(connection.socket);
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  if (started_) WSACleanup();
}

std::string SilentServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
}

int SilentServer::connections() {
  if (listener_ == INVALID_SOCKET) return 0;
  for (;;) {
    SOCKET connection = accept(listener_, nullptr, nullptr);
    if (connection == INVALID_SOCKET) break;
    u_long nonBlocking = 1;
    ioctlsocket(connection, FIONBIO, &nonBlocking);
    accepted_.push_back({connection, false});
  }
  return static_cast<int>(accepted_.size());
}

int SilentServer::closedConnections() {
  connections();
  int closed = 0;
  for (Connection& connection : accepted_) {
    char buffer[4096];
    int got = 0;
    while (!connection.closed && (got = recv(connection.socket, buffer, sizeof(buffer), 0)) > 0) {
    }
    if (got == 0 || (got < 0 && WSAGetLastError() != WSAEWOULDBLOCK)) connection.closed = true;
    closed += connection.closed;
  }
  return closed;
}

}  // namespace efir::test
