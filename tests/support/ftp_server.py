"""An FTP server for the tests, of Debian's python3-pyftpdlib, on 127.0.0.1 and a port the
system gives, which it prints ("listening on PORT") once it listens.

    ftp_server.py ROOT USER PASSWORD [refuse-resume] [slow] [tls CERTFILE KEYFILE] [port N]
                  [quota BYTES]

With refuse-resume it answers an upload's append or restart as servers that do not allow them
do ("451 Append/Restart not permitted"); slow, it takes uploads at 100 KB a second. With tls it
is an FTPS server (explicit, AUTH TLS) that lets nothing through in the clear, neither commands
nor files. port N listens on N, so that a test can start a server again where a client knows it.
quota BYTES refuses uploads as a full disk does once the files under ROOT hold BYTES or more."""
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer


class RefusingResume:
    def ftp_APPE(self, file):
        self.respond("451 Append/Restart not permitted, try again")

    def ftp_REST(self, line):
        self.respond("451 Append/Restart not permitted, try again")


class Quota:
    quota = 0
    root = ""

    # APPE goes through here too.
    def ftp_STOR(self, file, mode="w"):
        held = sum(os.path.getsize(os.path.join(folder, name))
                   for folder, _, names in os.walk(self.root) for name in names)
        if held >= self.quota:
            self.respond("552 Requested file action aborted. Exceeded storage allocation.")
            return None
        return super().ftp_STOR(file, mode)


class SecureData(TLS_DTPHandler):
    # pyftpdlib 1.5.7 drops a data connection that is read before its transfer is asked for,
    # which a client starting TLS on it at once (as libcurl does) makes it do.
    def readable(self):
        return self._ssl_accepting or super().readable()


def options(words):
    """The options after the user's password: each name with the words it takes."""
    takes = {"refuse-resume": 0, "slow": 0, "tls": 2, "port": 1, "quota": 1}
    found = {}
    at = 0
    while at < len(words):
        name = words[at]
        if name not in takes or at + takes[name] >= len(words):
            sys.exit("ftp_server.py: bad option at " + " ".join(words[at:]))
        found[name] = words[at + 1:at + 1 + takes[name]]
        at += 1 + takes[name]
    return found


def main():
    root, user, password = sys.argv[1:4]
    chosen = options(sys.argv[4:])
    mixins = []
    if "refuse-resume" in chosen:
        mixins.append(RefusingResume)
    if "quota" in chosen:
        Quota.quota = int(chosen["quota"][0])
        Quota.root = root
        mixins.append(Quota)
    base = TLS_FTPHandler if "tls" in chosen else FTPHandler
    handler = type("Handler", tuple(mixins) + (base,), {})
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elradfmwMT")
    handler.authorizer = authorizer
    if "tls" in chosen:
        handler.certfile, handler.keyfile = chosen["tls"]
        handler.tls_control_required = True
        handler.tls_data_required = True
        handler.dtp_handler = SecureData
    if "slow" in chosen:
        # Throttled outside, so that it counts the bytes of the file, not of TLS records.
        data = (ThrottledDTPHandler, SecureData) if "tls" in chosen else (ThrottledDTPHandler,)
        handler.dtp_handler = type("SlowData", data, {"read_limit": 100 * 1024})
    port = int(chosen["port"][0]) if "port" in chosen else 0
    server = FTPServer(("127.0.0.1", port), handler)
    print("listening on", server.socket.getsockname()[1], flush=True)
    # Only what goes wrong: nothing reads the output while a test sends, and a full pipe would
    # stop the server.
    config_logging(level=logging.WARNING)
    server.serve_forever()


main()
