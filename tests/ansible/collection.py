#!/usr/bin/env python3
"""The Ansible collection kv9052r.gateway against two virtual gateways, with Debian's
ansible-core: a first run writes both (and fails on a port with no gateway behind it,
saying why), a second changes nothing; a run in check mode writes nothing and its diff lists
the fields a write would change. ansible-doc shows the modules' documentation.
Skipped (77) without ansible-playbook.

Usage: collection.py BIN_DIR COLLECTION_DIR"""

import json
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
NO_GATEWAY = "Can't open COM 3!\nNo device is behind COM 3."

# (ansible-playbook options, Write per port: (changed, failed, state, backup kept, msg),
#  Read per port: (NodeId, Ip))
RUNS = [
    (["--check", "--diff"],
     [(True, False, "nothing-written", False, None),
      (True, False, "nothing-written", False, None),
      (False, True, "nothing-written", False, NO_GATEWAY)],
     [(5, "192.168.255.1"), (5, "192.168.255.1")]),
    ([],
     [(True, False, "written-and-verified", True, None),
      (True, False, "written-and-verified", True, None),
      (False, True, "nothing-written", False, NO_GATEWAY)],
     [(11, "192.168.1.11"), (12, "192.168.1.12")]),
    ([],
     [(False, False, "nothing-written", False, None),
      (False, False, "nothing-written", False, None),
      (False, True, "nothing-written", False, NO_GATEWAY)],
     [(11, "192.168.1.11"), (12, "192.168.1.12")]),
]
CHECK_DIFF = {"before": 'DeviceNetParams.NodeId: 5\nEthernetParams.Ip: "192.168.255.1"\n'
                        'SerialClasses[0].Baud: 19200\n',
              "after": 'DeviceNetParams.NodeId: 11\nEthernetParams.Ip: "192.168.1.11"\n'
                       'SerialClasses[0].Baud: 9600\n'}


def main(bin_dir, collection_dir):
    if not shutil.which("ansible-playbook"):
        print("ansible-playbook is missing; scripts/setup installs ansible-core")
        return 77
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        os.makedirs(os.path.join(folder, "ansible_collections", "kv9052r"))
        os.symlink(collection_dir,
                   os.path.join(folder, "ansible_collections", "kv9052r", "gateway"))
        env = dict(os.environ, KV9052R_PORT_DIR=folder, XDG_CONFIG_HOME=folder,
                   XDG_DATA_HOME=folder, BACKUPS=os.path.join(folder, "backups"),
                   PATH=bin_dir + os.pathsep + os.environ["PATH"],
                   ANSIBLE_COLLECTIONS_PATH=folder, ANSIBLE_COLLECTIONS_SCAN_SYS_PATH="false",
                   RESULTS=os.path.join(folder, "results.json"),
                   ANSIBLE_PYTHON_INTERPRETER="auto_silent", ANSIBLE_NOCOLOR="1",
                   ANSIBLE_LOCAL_TEMP=os.path.join(folder, "local"),
                   ANSIBLE_REMOTE_TEMP=os.path.join(folder, "remote"), PYTHONDONTWRITEBYTECODE="1")
        doc = subprocess.run(["ansible-doc", "kv9052r.gateway.config", "kv9052r.gateway.info"],
                             env=env, capture_output=True, text=True, timeout=60)
        for shown in ["> KV9052R.GATEWAY.CONFIG", "= port", "- values", "RETURN VALUES:",
                      "> KV9052R.GATEWAY.INFO", "kv9052r.gateway.info:"]:
            if shown not in doc.stdout:
                failures.append(f"ansible-doc does not show {shown!r}: {doc.stderr}")
        simulators = [subprocess.Popen([os.path.join(bin_dir, "kv9052r-gateway-sim"), "--demo",
                                        "--com", com], env=env, stdout=subprocess.PIPE, text=True)
                      for com in ("1", "2")]
        try:
            if not all(s.stdout.readline().startswith("Listening on") for s in simulators):
                return "the virtual gateways did not start"
            for options, written, read in RUNS:
                run = subprocess.run(["ansible-playbook", "-i", "localhost,", "-c", "local",
                                      os.path.join(HERE, "site.yml"), *options],
                                     env=env, cwd=folder, capture_output=True, text=True,
                                     timeout=300)
                if run.returncode != 0:
                    return f"ansible-playbook {options}: {run.stdout}{run.stderr}"
                with open(env["RESULTS"], encoding="utf-8") as file:
                    output = json.load(file)
                os.remove(env["RESULTS"])
                writes = output["Write"]
                got = [(r["changed"], r.get("failed", False), r.get("state"),
                        (r.get("backup") or "").startswith(env["BACKUPS"]),
                        r.get("msg") if r.get("failed") else None) for r in writes]
                if got != written:
                    failures.append(f"{options}: Write gave {got}, not {written}")
                got = [(r["config"]["DeviceNetParams"]["NodeId"],
                        r["config"]["EthernetParams"]["Ip"]) for r in output["Read"]]
                if got != read:
                    failures.append(f"{options}: Read gave {got}, not {read}")
                if "--diff" in options:
                    diff = {side: writes[0].get("diff", {}).get(side) for side in CHECK_DIFF}
                    if diff != CHECK_DIFF:
                        failures.append(f"the diff is {diff}, not {CHECK_DIFF}")
        finally:
            for simulator in simulators:
                simulator.terminate()
                simulator.wait(10)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
