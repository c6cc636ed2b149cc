#!/usr/bin/env python3
"""`kv9052r-cli probe` against Modbus servers no one here wrote: pymodbus's TCP server,
started on 127.0.0.1 on free ports with a known data store and stopped afterwards. A read
inside the store gives its values, one outside exception 02, a function the server refuses
exception 01; a port where nothing listens is unreachable; a server stopped with SIGSTOP
gives a time-out. A small raw server of this file answers one command never and the next
half (the connection closed), and the probe goes on to the command after. Nothing is ever
written: the store reads back as it was.

Usage: probe_servers.py BIN_DIR
       probe_servers.py --serve PORT   (one pymodbus server: what the tests start)"""

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


def serve(port):
    import logging

    logging.disable(logging.CRITICAL)  # a refused read is no error of the test
    from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                    ModbusSlaveContext)
    from pymodbus.server import StartAsyncTcpServer

    store = ModbusSlaveContext(co=ModbusSequentialDataBlock(0, COILS),
                               di=ModbusSequentialDataBlock(0, [False] * 64),
                               hr=ModbusSequentialDataBlock(0, HOLDING),
                               ir=ModbusSequentialDataBlock(0, [0] * 100), zero_mode=True)

    async def run():
        server = await StartAsyncTcpServer(ModbusServerContext(slaves={1: store}, single=False),
                                           address=("127.0.0.1", port), defer_start=True)
        server.decoder._ServerDecoder__lookup.pop(REFUSED_FUNCTION)
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
    process = subprocess.Popen([sys.executable, __file__, "--serve", str(port)])
    wait_listening(port, process)
    return port, process


class FaultyServer(threading.Thread):
    """Takes a request on each connection: never answers the first, answers the second
    half-way and closes, answers the third's in full (three holding registers 7, 8, 9)."""

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
            connection.close()


def command(function, start, length):
    return {"NetId": 1, "FunctionCode": function, "StartAddress": start, "Length": length,
            "MemAddress": 0}


def server_class(commands):
    return {"ConnValid": "YES", "ServerIp": "127.0.0.1", "ConnTimeout": 1000,
            "RetryConnTimeout": 0, "CmdTimeout": 300, "Commands": commands}


CONFIG = {"TcpClasses": [
    server_class([command(3, 0, 4), command(3, 200, 2), command(REFUSED_FUNCTION, 0, 1),
                  command(16, 10, 2), command(15, 0, 9)]),
    server_class([command(3, 0, 1)]),
    server_class([command(1, 0, 3), command(3, 0, 1)]),
    server_class([command(3, 0, 3), command(3, 0, 3), command(3, 0, 3)]),
]}

EXPECTED = """\
Server1 instance 1, FC03, 40001-40004: ok: 1000 (0x03E8), 1001 (0x03E9), 1002 (0x03EA), 1003 (0x03EB)
Server1 instance 2, FC03, 40201-40202: exception 02 Illegal Data Address
Server1 instance 3, FC04, 30001: exception 01 Illegal Function
Server1 instance 4, FC10 probed by reading with FC03, 40011-40012: ok: 1010 (0x03F2), 1011 (0x03F3)
Server1 instance 5, FC0F probed by reading with FC01, 00001-00009: ok: 1, 0, 0, 1, 0, 0, 1, 0, ...
Server2 instance 1, FC03, 40001: unreachable: Connection refused
Server3 instance 1, FC01, 00001-00003: timeout: no answer within 300 ms
Server3 instance 2, FC03, 40001: timeout: no answer within 300 ms
Server4 instance 1, FC03, 40001-40003: timeout: no answer within 300 ms
Server4 instance 2, FC03, 40001-40003: malformed: the connection closed before a whole answer came
Server4 instance 3, FC03, 40001-40003: ok: 7 (0x0007), 8 (0x0008), 9 (0x0009)
4 of 11 commands answered; 2 exceptions, 3 time-outs, 1 unreachable, 1 malformed answer.
"""


def store_of(port):
    from pymodbus.client import ModbusTcpClient

    client = ModbusTcpClient("127.0.0.1", port=port)
    client.connect()
    holding = client.read_holding_registers(0, 100, slave=1).registers
    coils = client.read_coils(0, 64, slave=1).bits[:64]
    client.close()
    return holding, coils


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
            one = subprocess.run(arguments[:3] + ["--server", servers[0], "--class", "Server1",
                                                  "--instance", "2", "--json"],
                                 capture_output=True, text=True, timeout=60)
            entries = json.loads(one.stdout)["Commands"]
            expect("the JSON entries", [(e["Class"], e["Instance"], e["Outcome"],
                                         e["ExceptionCode"]) for e in entries],
                   [("Server1", 2, "exception", 2)])
        expect("the store afterwards", store_of(answering), (HOLDING, COILS))
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
        serve(int(sys.argv[2]))
    else:
        sys.exit(main(sys.argv[1]))
