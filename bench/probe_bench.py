#!/usr/bin/env python3
"""Times `kv9052r-cli probe` of 20 Modbus TCP commands on 4 pymodbus servers on 127.0.0.1
(target: under 1 s wall), then the same with one server that never answers (SIGSTOP): its
five commands take five command time-outs, and the wall time shows whether the other
servers' commands waited for them (they are probed at the same time, so it should be no
more than those five time-outs).

Usage: probe_bench.py BIN_DIR"""

import json
import os
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "modbus"))
import probe_servers  # noqa: E402  (the tests' server starter)

CMD_TIMEOUT_MS = 300


def config():
    commands = [probe_servers.command(3, 10 * i, 10) for i in range(5)]
    return {"TcpClasses": [{"ConnValid": "YES", "ServerIp": "127.0.0.1", "ConnTimeout": 1000,
                            "CmdTimeout": CMD_TIMEOUT_MS, "Commands": commands}] * 4}


def timed_probe(bin_dir, path, ports):
    arguments = [os.path.join(bin_dir, "kv9052r-cli"), "probe", path, "--json"]
    for server, port in enumerate(ports, start=1):
        arguments += ["--server", f"{server}=127.0.0.1:{port}"]
    start = time.monotonic()
    run = subprocess.run(arguments, capture_output=True, text=True, timeout=60)
    wall = time.monotonic() - start
    return wall, json.loads(run.stdout)["Summary"]["Text"]


def main(bin_dir):
    servers = [probe_servers.start_server() for _ in range(4)]
    ports = [port for port, _ in servers]
    try:
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "bench.json")
            with open(path, "w") as file:
                json.dump(config(), file)
            best = min(timed_probe(bin_dir, path, ports)[0] for _ in range(5))
            print(f"probe, 20 commands on 4 servers: {best:.3f} s wall (best of 5; target < 1 s)")
            os.kill(servers[3][1].pid, signal.SIGSTOP)
            wall, summary = timed_probe(bin_dir, path, ports)
            print(f"probe, one of the 4 servers never answers: {wall:.3f} s wall "
                  f"({summary}); its 5 time-outs alone take {5 * CMD_TIMEOUT_MS / 1000:.1f} s")
            os.kill(servers[3][1].pid, signal.SIGCONT)
    finally:
        for _, process in servers:
            process.terminate()
            process.wait()


if __name__ == "__main__":
    main(sys.argv[1])
