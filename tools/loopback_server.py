"""What the tests' HTTP servers on 127.0.0.1 share: starting one detached in the background,
waiting until it listens, serving in the foreground for a limited time, and stopping it.

    import loopback_server
    loopback_server.start(__file__, args.port, ["--root", args.root], args.lifetime, args.pidfile)
    loopback_server.serve(args.port, Handler, args.lifetime)     # in the "serve" command
    loopback_server.stop(args.pidfile)

start runs the calling script again with "serve --port P <serve_args> --lifetime L".
"""
import http.server
import os
import signal
import socket
import subprocess
import sys
import threading
import time


def listening(port):
    try:
        socket.create_connection(("127.0.0.1", port), 0.2).close()
        return True
    except OSError:
        return False


def serve(port, handler, lifetime):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    server.daemon_threads = True
    # A server left behind by a killed test run must not hold its port for ever.
    threading.Timer(lifetime, lambda: os._exit(0)).start()
    server.serve_forever()


def start(script, port, serve_args, lifetime, pidfile):
    """Returns once the server listens; exits with a message when it cannot."""
    if listening(port):
        sys.exit(f"port {port} is already in use (a stale server?)")
    command = [sys.executable, script, "serve", "--port", str(port), *serve_args,
               "--lifetime", str(lifetime)]
    # Fully detached: ctest waits for every process that holds its output pipe.
    proc = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    with open(pidfile, "w") as f:
        f.write(str(proc.pid))
    deadline = time.time() + 10
    while time.time() < deadline:
        if listening(port):
            return
        time.sleep(0.05)
    sys.exit("the server did not come up")


def stop(pidfile):
    try:
        with open(pidfile) as f:
            os.kill(int(f.read()), signal.SIGTERM)
    except (OSError, ValueError):
        pass
    if os.path.exists(pidfile):
        os.remove(pidfile)
