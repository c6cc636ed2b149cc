#!/usr/bin/env python3
"""The configuration schema and kv9052r-cli agree: a real JSON Schema validator accepts what
`read --json` writes and every file `apply --dry-run` accepts, and refuses every file it
refuses. The files are also given on standard input ("-"), as a pipe would give them. The
example configurations in docs/examples are such files, and `check` finds nothing in them.

Usage: agreement.py BIN_DIR SCHEMA.json"""

import glob
import json
import os
import subprocess
import sys
import tempfile

import jsonschema

# (file, whether the program takes it)
CASES = [
    ({"$schema": "https://kv9052r.invalid/configuration.schema.json"}, True),
    ({"DeviceNetParams": {"BaudIndex": " 500 kbps "},
      "SerialClasses": [{"ConnMode": "modbus rtu", "Parity": "even"}],
      "TcpClasses": [{}, {"ConnValid": "yes"}]}, True),
    ({"DeviceNetParams": {"NodeId": 64}}, False),
    ({"SerialClasses": [{"Parity": "MARK"}]}, False),
    ({"SerialClasses": [{"ConnMode": "Modbus  RTU"}]}, False),
    ({"Colour": "red"}, False),
    ({"SerialClasses": [{"CmdTimeout": 70000}]}, False),
    ({"$schema": 5}, False),
    # No matching fingerprint: checked as any configuration, and this one passes.
    ({"Backup": True, "Fingerprint": "sha256:00", "DeviceNetParams": {"NodeId": 7}}, True),
    ({"TcpClasses": [{"ServerIp": "192.168.0.10"}, {"ServerIp": [10, 0, 0, 255]}]}, True),
    ({"TcpClasses": [{"ServerIp": "192.168.0.256"}]}, False),
    ({"TcpClasses": [{"ServerIp": "192.168.0"}]}, False),
]


def main(bin_dir, schema_path):
    schema = json.load(open(schema_path, encoding="utf-8"))
    validator = jsonschema.Draft202012Validator(schema)
    jsonschema.Draft202012Validator.check_schema(schema)
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        env = dict(os.environ, KV9052R_PORT_DIR=folder, XDG_CONFIG_HOME=folder,
                   XDG_DATA_HOME=folder)
        sim = subprocess.Popen([os.path.join(bin_dir, "kv9052r-gateway-sim"), "--demo",
                                "--com", "16"], env=env, stdout=subprocess.PIPE, text=True)
        try:
            if not sim.stdout.readline().startswith("Listening on"):
                return "the simulator did not start"
            cli = os.path.join(bin_dir, "kv9052r-cli")
            read = subprocess.run([cli, "read", "--port", "COM16", "--json"], env=env,
                                  capture_output=True, text=True, timeout=60)
            written = json.loads(read.stdout)
            for error in validator.iter_errors(written):
                failures.append(f"read --json: {error.message}")
            examples = sorted(glob.glob(os.path.join(os.path.dirname(schema_path), "examples",
                                                     "*.json")))
            if not examples:
                failures.append("docs/examples holds no configuration")
            for example in examples:
                run = subprocess.run([cli, "check", example], env=env, capture_output=True,
                                     text=True, timeout=60)
                if run.returncode != 0:
                    failures.append(f"check {example} exits {run.returncode}: {run.stdout}")
            cases = CASES + [(json.load(open(example, encoding="utf-8")), True)
                             for example in examples]
            for number, (case, taken) in enumerate(cases, 1):
                if validator.is_valid(case) != taken:
                    failures.append(f"case {number}: the schema {'refuses' if taken else 'takes'} it")
                run = subprocess.run([cli, "apply", "--port", "COM16", "--dry-run", "-"],
                                     env=env, input=json.dumps(case), capture_output=True,
                                     text=True, timeout=60)
                if (run.returncode == 0) != taken:
                    failures.append(f"case {number}: apply exits {run.returncode}: {run.stderr}")
        finally:
            sim.terminate()
            sim.wait(10)
    return "\n".join(failures)


if __name__ == "__main__":
    problems = main(sys.argv[1], sys.argv[2])
    if problems:
        sys.exit(problems)
