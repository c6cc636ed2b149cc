#!/usr/bin/env python3
"""Times one Ansible play, forks 16, writing 16 virtual gateways behind one ser2net (RFC 2217
ports on the loopback) against the same play writing one gateway alone, and prints the ratio
(target: at most 1.2). Each run changes one field of every gateway it writes, so that every
run writes. Not a test: the machine's load decides the figure.

Usage: ansible_fleet.py BIN_DIR COLLECTION_DIR [LATENCY_MS]
(LATENCY_MS: the virtual gateways' console latency per line, as kv9052r-gateway-sim
--latency-ms takes it; default the simulator's own)"""

import os
import resource
import shutil
import socket
import subprocess
import sys
import tempfile
import time

GATEWAYS = 16
RUNS = 2
TARGET = 1.2
PLAY = """- hosts: all
  gather_facts: false
  tasks:
    - kv9052r.gateway.config:
        port: "{{ port }}"
        config: {SerialClasses: [{Baud: "{{ baud }}"}]}
        values: {NodeId: "{{ node }}"}
        reply_timeout: 1000
        verify: true
"""


def free_ports(count):
    sockets = [socket.socket() for _ in range(count)]
    for s in sockets:
        s.bind(("127.0.0.1", 0))
    ports = [s.getsockname()[1] for s in sockets]
    for s in sockets:
        s.close()
    return ports


def listening(port):
    with socket.socket() as s:
        return s.connect_ex(("127.0.0.1", port)) == 0


def main(bin_dir, collection_dir, latency_ms=None):
    ser2net = shutil.which("ser2net") or shutil.which("ser2net", path="/usr/sbin")
    if not shutil.which("ansible-playbook") or not ser2net:
        print("ansible-playbook or ser2net is missing; scripts/setup installs them")
        return 1
    with tempfile.TemporaryDirectory() as folder:
        os.makedirs(os.path.join(folder, "ansible_collections", "kv9052r"))
        os.symlink(collection_dir,
                   os.path.join(folder, "ansible_collections", "kv9052r", "gateway"))
        env = dict(os.environ, KV9052R_PORT_DIR=folder, XDG_CONFIG_HOME=folder,
                   XDG_DATA_HOME=folder, PATH=bin_dir + os.pathsep + os.environ["PATH"],
                   ANSIBLE_COLLECTIONS_PATH=folder, ANSIBLE_PYTHON_INTERPRETER="auto_silent",
                   ANSIBLE_LOCAL_TEMP=os.path.join(folder, "local"),
                   ANSIBLE_REMOTE_TEMP=os.path.join(folder, "remote"),
                   PYTHONDONTWRITEBYTECODE="1")
        processes = []
        try:
            devices = []
            for com in range(1, GATEWAYS + 1):
                simulator = subprocess.Popen(
                    [os.path.join(bin_dir, "kv9052r-gateway-sim"), "--demo", "--com", str(com)] +
                    (["--latency-ms", latency_ms] if latency_ms else []),
                    env=env, stdout=subprocess.PIPE, text=True)
                processes.append(simulator)
                devices.append(simulator.stdout.readline().split()[2])  # Listening on DEVICE
            ports = free_ports(GATEWAYS)
            with open(os.path.join(folder, "ser2net.yaml"), "w", encoding="utf-8") as file:
                for port, device in zip(ports, devices):
                    file.write(f"connection: &gw{port}\n"
                               f"  accepter: telnet(rfc2217),tcp(nodelay),127.0.0.1,{port}\n"
                               f"  connector: serialdev,{device},115200n81,local\n"
                               "  options:\n    chardelay: false\n")
            # -u: no lock files; its complaints (no mDNS here) are not the figure's.
            processes.append(subprocess.Popen([ser2net, "-n", "-u", "-c",
                                               os.path.join(folder, "ser2net.yaml")],
                                              stderr=subprocess.DEVNULL))
            deadline = time.monotonic() + 10
            while not all(map(listening, ports)) and time.monotonic() < deadline:
                time.sleep(0.05)
            with open(os.path.join(folder, "inventory.yml"), "w", encoding="utf-8") as file:
                file.write("all:\n  vars: {ansible_connection: local}\n  hosts:\n")
                for number, port in enumerate(ports, 1):
                    file.write(f"    gw{number}: {{port: 'rfc2217://127.0.0.1:{port}', "
                               f"node: {number}}}\n")
            with open(os.path.join(folder, "play.yml"), "w", encoding="utf-8") as file:
                file.write(PLAY)

            def play(limit, baud):
                """The play's wall time and the CPU time of its processes (Ansible's, the
                modules' and kv9052r-cli's), in seconds."""
                cpu = resource.getrusage(resource.RUSAGE_CHILDREN)
                started = time.monotonic()
                run = subprocess.run(["ansible-playbook", "-i", "inventory.yml", "play.yml",
                                      "--forks", str(GATEWAYS), "--limit", limit,
                                      "-e", f"{{\"baud\": {baud}}}"],
                                     env=env, cwd=folder, capture_output=True, text=True)
                if run.returncode != 0:
                    sys.exit(f"the play on {limit} failed:\n{run.stdout}{run.stderr}")
                wall = time.monotonic() - started
                now = resource.getrusage(resource.RUSAGE_CHILDREN)
                return wall, now.ru_utime + now.ru_stime - cpu.ru_utime - cpu.ru_stime

            play("all", 9600)  # every gateway gets its node ID, so that runs below change one field
            alone = many = 1e9
            for run in range(RUNS):
                baud = (19200, 9600)[run % 2]
                (one, one_cpu), (all_, all_cpu) = play("gw1", baud), play("all", baud)
                print(f"run {run + 1}: the play on one gateway {one:.1f} s (CPU {one_cpu:.1f} s), "
                      f"on {GATEWAYS} {all_:.1f} s (CPU {all_cpu:.1f} s, "
                      f"{os.cpu_count()} processors)")
                alone, many = min(alone, one), min(many, all_)
        finally:
            for process in processes:
                process.terminate()
                process.wait(10)
    ratio = many / alone
    print(f"{GATEWAYS} gateways behind one ser2net from one play (forks {GATEWAYS}): "
          f"{ratio:.2f} times one alone (target <= {TARGET})")
    return 0 if ratio <= TARGET else 3


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
