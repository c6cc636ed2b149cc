#!/usr/bin/env python3
"""`kv9052r-cli probe` against Modbus servers no one here wrote: pymodbus's TCP server,
started on 127.0.0.1 on free ports with a known data store and stopped afterwards. A read
inside the store gives its values, one outside exception 02, a function the server refuses
exception 01; a port where nothing listens is unreachable; a server stopped with SIGSTOP
gives a time-out. A small raw server of this file answers one command never and the next
half (the connection closed), and the probe goes on to the command after. Nothing is ever
written: the store reads back as it was.

The serial buses the same way: pymodbus's serial server, RTU and ASCII, on one end of a
pseudo-terminal pair (socat), the probe on the other, and the probe refused without
--bus-is-free. A device of this file that answers each read after the command time-out
gives every read a time-out: its late answer never passes for the next read's.

Usage: probe_servers.py BIN_DIR
       probe_servers.py --serve tcp PORT | rtu DEVICE | ascii DEVICE
           (one pymodbus server: what the tests start; a serial one says "ready" when open)"""

import asyncio
import json
import os
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

HOLDING = [1000 + i for i in range(100)]
COILS = [i % 3 == 0 for i in range(64)]
REFUSED_FUNCTION = 4  # the servers answer reading input registers with exception 01


def serve(kind, where):
    import logging

    logging.disable(logging.CRITICAL)  # a refused read is no error of the test
    from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                    ModbusSlaveContext)
    from pymodbus.pdu import ModbusExceptions
    from pymodbus.register_read_message import ReadInputRegistersRequest
    from pymodbus.server import StartAsyncSerialServer, StartAsyncTcpServer
    from pymodbus.transaction import ModbusAsciiFramer, ModbusRtuFramer

    store = ModbusSlaveContext(co=ModbusSequentialDataBlock(0, COILS),
                               di=ModbusSequentialDataBlock(0, [False] * 64),
                               hr=ModbusSequentialDataBlock(0, HOLDING),
                               ir=ModbusSequentialDataBlock(0, [0] * 100), zero_mode=True)

    context = ModbusServerContext(slaves={1: store}, single=False)

    class Refused(ReadInputRegistersRequest):
        """Reading input registers, which this device does not offer."""

        def execute(self, _context):
            return self.doException(ModbusExceptions.IllegalFunction)

    async def run():
        if kind == "tcp":
            server = await StartAsyncTcpServer(context, address=("127.0.0.1", int(where)),
                                               defer_start=True)
        else:  # a unit other than 1 gets no answer, as on a bus without it
            server = await StartAsyncSerialServer(
                context, framer=ModbusRtuFramer if kind == "rtu" else ModbusAsciiFramer,
                port=where, defer_start=True, ignore_missing_slaves=True, **SERIAL[kind])
            await server.start()
            print("ready", flush=True)
        server.decoder.register(Refused)
        await server.serve_forever()

    asyncio.run(run())


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_listening(port, process):
    """Polls the port until the server listens; no reply is waited for."""
    for _ in range(200):
        if process.poll() is not None:
            sys.exit(f"the pymodbus server on port {port} ended: {process.returncode}")
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return
        except OSError:
            time.sleep(0.05)
    sys.exit(f"the pymodbus server on port {port} never listened")


def start_server():
    port = free_port()
    process = subprocess.Popen([sys.executable, __file__, "--serve", "tcp", str(port)])
    wait_listening(port, process)
    return port, process


def pty_pair(kind, folder):
    """Two linked pseudo-terminals (socat): the PC's end and the bus's end."""
    ends = [os.path.join(folder, kind + end) for end in ("-pc", "-bus")]
    socat = subprocess.Popen(["socat"] + [f"pty,raw,echo=0,link={end}" for end in ends])
    for _ in range(200):
        if all(os.path.exists(end) for end in ends):
            break
        time.sleep(0.05)
    return ends, socat


def start_bus(kind, folder):
    """A pseudo-terminal pair: the server on one end; the other end's path is returned."""
    ends, socat = pty_pair(kind, folder)
    server = subprocess.Popen([sys.executable, __file__, "--serve", kind, ends[1]],
                              stdout=subprocess.PIPE, text=True)
    if server.stdout.readline().strip() != "ready":
        sys.exit(f"the pymodbus {kind} server did not start")
    return ends[0], [server, socat]


class FaultyServer(threading.Thread):
    """Takes a request on each connection: never answers the first, answers the second
    half-way and closes, answers the third's in full (three holding registers 7, 8, 9) and
    the next read on it a byte every 50 ms, whole only after the command time-out."""

    def __init__(self):
        super().__init__(daemon=True)
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        self.held = []

    def run(self):
        for answer in (None, "half", "whole"):
            connection, _ = self.listener.accept()
            request = connection.recv(260)
            reply = request[:4] + bytes([0, 9, request[6], 3, 6, 0, 7, 0, 8, 0, 9])
            if answer is None:
                self.held.append(connection)
                continue
            connection.sendall(reply if answer == "whole" else reply[:9])
            if answer == "whole":
                self.trickle(connection)
            connection.close()

    @staticmethod
    def trickle(connection):
        connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        request = connection.recv(260)
        try:
            for byte in request[:4] + bytes([0, 9, request[6], 3, 6, 0, 7, 0, 8, 0, 9]):
                connection.send(bytes([byte]))
                time.sleep(0.05)
        except OSError:  # the probe gave up on the answer and closed the connection
            pass


class LateBus(threading.Thread):
    """An RTU device on `device` that answers each read of holding registers 0.15 s after the
    command time-out, with 2000 + the start address: a late answer must not pass for the
    next read's."""

    def __init__(self, device):
        super().__init__(daemon=True)
        self.fd = os.open(device, os.O_RDWR | os.O_NOCTTY)

    def run(self):
        while True:
            request = os.read(self.fd, 8)  # RTU reads are 8 bytes; one write each on a pty
            if len(request) != 8:
                return
            start = int.from_bytes(request[2:4], "big")
            time.sleep(0.45)
            message = bytes([request[0], 3, 2]) + (2000 + start).to_bytes(2, "big")
            os.write(self.fd, message + crc16(message))


def crc16(message):
    crc = 0xFFFF
    for byte in message:
        crc ^= byte
        for _ in range(8):
            crc = crc >> 1 ^ 0xA001 if crc & 1 else crc >> 1
    return crc.to_bytes(2, "little")


def command(function, start, length, unit=1):
    return {"NetId": unit, "FunctionCode": function, "StartAddress": start, "Length": length,
            "MemAddress": 0}


# A pseudo-terminal carries bytes whatever the line settings, but some kernels refuse parity
# and 7 data bits on one: the lines here have none.
SERIAL = {"rtu": {"baudrate": 19200, "bytesize": 8, "parity": "N", "stopbits": 1},
          "ascii": {"baudrate": 9600, "bytesize": 8, "parity": "N", "stopbits": 2}}
BUS_COMMANDS = [command(3, 0, 2), command(3, 200, 2), command(REFUSED_FUNCTION, 0, 1),
                command(6, 5, 1), command(3, 0, 1, unit=5)]
SERIAL_CONFIG = {"SerialClasses": [
    {"ConnMode": "Modbus RTU", "Baud": 19200, "DataBits": 8, "Parity": "NONE", "StopBits": 1,
     "CmdTimeout": 300, "Commands": BUS_COMMANDS},
    {"ConnMode": "Modbus ASCII", "Baud": 9600, "DataBits": 8, "Parity": "NONE", "StopBits": 2,
     "CmdTimeout": 300, "Commands": BUS_COMMANDS}]}
SERIAL_EXPECTED = "".join(f"""\
{bus} instance 1, FC03, 40001-40002: ok: 1000 (0x03E8), 1001 (0x03E9)
{bus} instance 2, FC03, 40201-40202: exception 02 Illegal Data Address
{bus} instance 3, FC04, 30001: exception 01 Illegal Function
{bus} instance 4, FC06 probed by reading with FC03, 40006: ok: 1005 (0x03ED)
{bus} instance 5, FC03, 40001: timeout: no answer within 300 ms
""" for bus in ("COM1", "COM2")) + \
    "4 of 10 commands answered; 4 exceptions, 2 time-outs.\n"
LATE_CONFIG = {"SerialClasses": [dict(SERIAL_CONFIG["SerialClasses"][0],
                                      Commands=[command(3, start, 1) for start in range(3)])]}
LATE_EXPECTED = "".join(f"COM1 instance {n}, FC03, 4000{n}: timeout: no answer within 300 ms\n"
                        for n in (1, 2, 3)) + "0 of 3 commands answered; 3 time-outs.\n"


def server_class(commands):
    return {"ConnValid": "YES", "ServerIp": "127.0.0.1", "ConnTimeout": 1000,
            "RetryConnTimeout": 0, "CmdTimeout": 300, "Commands": commands}


CONFIG = {"TcpClasses": [
    server_class([command(3, 0, 4), command(3, 200, 2), command(REFUSED_FUNCTION, 0, 1),
                  command(16, 10, 2), command(15, 0, 9)]),
    server_class([command(3, 0, 1)]),
    server_class([command(1, 0, 3), command(3, 0, 1)]),
    server_class([command(3, 0, 3), command(3, 0, 3), command(3, 0, 3), command(3, 0, 3)]),
]}

EXPECTED = """\
Server1 instance 1, FC03, 40001-40004: ok: 1000 (0x03E8), 1001 (0x03E9), 1002 (0x03EA), 1003 (0x03EB)
Server1 instance 2, FC03, 40201-40202: exception 02 Illegal Data Address
Server1 instance 3, FC04, 30001: exception 01 Illegal Function
Server1 instance 4, FC16 probed by reading with FC03, 40011-40012: ok: 1010 (0x03F2), 1011 (0x03F3)
Server1 instance 5, FC15 probed by reading with FC01, 00001-00009: ok: 1, 0, 0, 1, 0, 0, 1, 0, ...
Server2 instance 1, FC03, 40001: unreachable: Connection refused
Server3 instance 1, FC01, 00001-00003: timeout: no answer within 300 ms
Server3 instance 2, FC03, 40001: timeout: no answer within 300 ms
Server4 instance 1, FC03, 40001-40003: timeout: no answer within 300 ms
Server4 instance 2, FC03, 40001-40003: malformed: the connection closed before a whole answer came
Server4 instance 3, FC03, 40001-40003: ok: 7 (0x0007), 8 (0x0008), 9 (0x0009)
Server4 instance 4, FC03, 40001-40003: timeout: no whole answer within 300 ms
4 of 12 commands answered; 2 exceptions, 4 time-outs, 1 unreachable, 1 malformed answer.
"""


def store_of(client):
    client.connect()
    holding = client.read_holding_registers(0, 100, slave=1).registers
    coils = client.read_coils(0, 64, slave=1).bits[:64]
    client.close()
    return holding, coils


def probe_buses(bin_dir, expect):
    from pymodbus.client import ModbusSerialClient

    with tempfile.TemporaryDirectory() as folder:
        paths = [os.path.join(folder, name) for name in ("buses.json", "late.json")]
        for path, config in zip(paths, (SERIAL_CONFIG, LATE_CONFIG)):
            with open(path, "w") as file:
                json.dump(config, file)
        rtu, rtu_processes = start_bus("rtu", folder)
        ascii, ascii_processes = start_bus("ascii", folder)
        (late, late_bus), late_socat = pty_pair("late", folder)
        LateBus(late_bus).start()
        try:
            arguments = [os.path.join(bin_dir, "kv9052r-cli"), "probe", paths[0],
                         "--serial", f"COM1={rtu}", "--serial", f"COM2={ascii}"]
            refused = subprocess.run(arguments, capture_output=True, text=True, timeout=60)
            expect("the status without --bus-is-free", refused.returncode, 2)
            expect("why", refused.stderr.startswith("A serial bus has one master"), True)
            run = subprocess.run(arguments + ["--bus-is-free"], capture_output=True, text=True,
                                 timeout=60)
            expect("the serial lines", run.stdout, SERIAL_EXPECTED)
            expect("the serial status", run.returncode, 3)
            expect("the serial messages", run.stderr, "")
            expect("the serial store afterwards",
                   store_of(ModbusSerialClient(rtu, **SERIAL["rtu"])), (HOLDING, COILS))
            run = subprocess.run(arguments[:2] + [paths[1], "--serial", f"COM1={late}",
                                                  "--bus-is-free"],
                                 capture_output=True, text=True, timeout=60)
            expect("the late answers", run.stdout, LATE_EXPECTED)
        finally:
            for process in rtu_processes + ascii_processes + [late_socat]:
                process.terminate()
                process.wait()


def main(bin_dir):
    failures = []

    def expect(what, got, wanted):
        if got != wanted:
            failures.append(f"{what}:\n  got    {got!r}\n  wanted {wanted!r}")

    answering, answering_process = start_server()
    stopped, stopped_process = start_server()
    faulty = FaultyServer()
    faulty.start()
    try:
        os.kill(stopped_process.pid, signal.SIGSTOP)
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "plant.json")
            with open(path, "w") as file:
                json.dump(CONFIG, file)
            servers = [f"1=127.0.0.1:{answering}", f"2=127.0.0.1:{free_port()}",
                       f"3=127.0.0.1:{stopped}", f"4=127.0.0.1:{faulty.port}"]
            arguments = [os.path.join(bin_dir, "kv9052r-cli"), "probe", path]
            for server in servers:
                arguments += ["--server", server]
            run = subprocess.run(arguments, capture_output=True, text=True, timeout=60)
            expect("the lines", run.stdout, EXPECTED)
            expect("the status", run.returncode, 3)
            # On Debian "localhost" gives ::1 first, where the server does not listen.
            one = subprocess.run(arguments[:3] + ["--server", f"1=localhost:{answering}",
                                                  "--class", "Server1",
                                                  "--instance", "2", "--json"],
                                 capture_output=True, text=True, timeout=60)
            entries = json.loads(one.stdout)["Probes"]
            expect("the JSON entries", [(e["Class"], e["Instance"], e["Outcome"],
                                         e["ExceptionCode"]) for e in entries],
                   [("Server1", 2, "exception", 2)])
        from pymodbus.client import ModbusTcpClient

        expect("the store afterwards", store_of(ModbusTcpClient("127.0.0.1", port=answering)),
               (HOLDING, COILS))
        probe_buses(bin_dir, expect)
    finally:
        os.kill(stopped_process.pid, signal.SIGCONT)
        for process in (answering_process, stopped_process):
            process.terminate()
            process.wait()
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    if sys.argv[1] == "--serve":
        serve(sys.argv[2], sys.argv[3])
    else:
        sys.exit(main(sys.argv[1]))
