"""An FTP server for the tests, of Debian's python3-pyftpdlib, on 127.0.0.1 and a port the
system gives, which it prints ("listening on PORT") once it listens.

    ftp_server.py ROOT USER PASSWORD [refuse-resume] [slow]

With refuse-resume it answers an upload's append or restart as servers that do not allow them
do ("451 Append/Restart not permitted"); slow, it takes uploads at 100 KB a second."""
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


class RefusingResume(FTPHandler):
    def ftp_APPE(self, file):
        self.respond("451 Append/Restart not permitted, try again")

    def ftp_REST(self, line):
        self.respond("451 Append/Restart not permitted, try again")


def main():
    root, user, password = sys.argv[1:4]
    handler = RefusingResume if "refuse-resume" in sys.argv[4:] else FTPHandler
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elradfmwMT")
    handler.authorizer = authorizer
    if "slow" in sys.argv[4:]:
        slow = ThrottledDTPHandler
        slow.read_limit = 100 * 1024
        handler.dtp_handler = slow
    server = FTPServer(("127.0.0.1", 0), handler)
    print("listening on", server.socket.getsockname()[1], flush=True)
    server.serve_forever()


main()
