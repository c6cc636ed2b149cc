# The options every module of the collection passes to kv9052r-cli: the tool, the port and
# how long a reply may take.


class ModuleDocFragment(object):
    DOCUMENTATION = r'''
options:
  port:
    description:
      - The gateway's port on the managed host, in any form kv9052r-cli takes (C(COM3), a
        device path such as C(/dev/ttyUSB0) or C(/dev/serial/by-id/...), or
        C(rfc2217://HOST:PORT) or C(socket://HOST:PORT) for a serial port server).
    type: str
    required: true
  reply_timeout:
    description:
      - How long the gateway's console may take to answer a line, in milliseconds
        (1..60000); C(--reply-timeout). Without it, the tool's default or the one
        assigned to the COM port.
    type: int
  cli:
    description:
      - The kv9052r-cli program on the managed host, a name looked up in its C(PATH) or a path.
    type: str
    default: kv9052r-cli
requirements:
  - kv9052r-cli on the managed host (the kv9052r-utility package)
  - Python 3 on the managed host
'''
