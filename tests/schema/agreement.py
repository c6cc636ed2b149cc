#!/usr/bin/env python3
"""The configuration schema and kv9052r-cli agree: a real JSON Schema validator accepts what
`read --json` writes and every file `apply --dry-run` accepts, and refuses every file it
refuses. The files are also given on standard input ("-"), as a pipe would give them. The
example configurations in docs/examples are such files, and `check` finds nothing in them.
What the program writes (`read --json` in each of its forms, `commands --set` over a file
with a comment) lists its keys in the order the schema does; what `read` wrote, given back
to `apply`, changes nothing, and `check` takes what `commands --set` wrote.

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


# The forms `read --json` writes in.
READ_FORMS = [[], ["--texts"], ["--no-derived"], ["--texts", "--no-derived"]]


def order_faults(value, node, schema, path="file"):
    """Objects whose keys are not in the order the schema lists them."""
    if "$ref" in node:
        node = schema["$defs"][node["$ref"].split("/")[-1]]
    if isinstance(value, dict):
        listed = list(node.get("properties", {}))  # a key it does not list: the validator's
        if [key for key in value if key in listed] != [key for key in listed if key in value]:
            yield f"{path}: keys in the order {list(value)}"
        for key, item in value.items():
            yield from order_faults(item, node.get("properties", {}).get(key, {}), schema,
                                    f"{path}.{key}")
    elif isinstance(value, list) and "items" in node:
        for index, item in enumerate(value):
            yield from order_faults(item, node["items"], schema, f"{path}[{index}]")


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

            def run(*arguments, given=None):
                return subprocess.run([cli, *arguments], env=env, input=given,
                                      capture_output=True, text=True, timeout=60)

            def check_written(name, text):
                written = json.loads(text)
                failures.extend(f"{name}: {error.message}"
                                for error in validator.iter_errors(written))
                failures.extend(f"{name}: {fault}"
                                for fault in order_faults(written, schema, schema))
                return written

            for form in READ_FORMS:
                name = " ".join(["read --json"] + form)
                text = run("read", "--port", "COM16", "--json", *form).stdout
                check_written(name, text)
                again = run("apply", "--port", "COM16", "--dry-run", "-", given=text)
                if "Nothing to change" not in again.stdout:
                    failures.append(f"{name}, applied: {again.stdout}{again.stderr}")

            with open(os.path.join(folder, "c.json"), "w", encoding="utf-8") as file:
                json.dump({"DeviceNetParams": {"NodeId": 7}, "Comment": "Line 2, by A. E.",
                           "SerialClasses": [{"Parity": "EVEN"}]}, file)
            with open(os.path.join(folder, "t.csv"), "w", encoding="utf-8") as file:
                file.write("Instance,NetId,FunctionCode,MemAddress,StartAddress,Length\n"
                           "1,1,fc 3,0,0,8\n2,1,0x10,8,0,4\n")
            out = os.path.join(folder, "o.json")
            run("commands", os.path.join(folder, "c.json"), "--class", "COM2", "--set",
                os.path.join(folder, "t.csv"), "-o", out)
            with open(out, encoding="utf-8") as file:
                kept = check_written("commands --set", file.read())
            # The comment stays, and the commands are written as the file writes list fields.
            if (kept.get("Comment") != "Line 2, by A. E." or
                    kept["SerialClasses"][1]["Commands"][0]["FunctionCode"] !=
                    "FC03 Read Holding Registers"):
                failures.append(f"commands --set wrote {kept}")
            checked = run("check", out)
            if checked.returncode != 0:
                failures.append(f"check of what commands --set wrote: {checked.stdout}")
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
                # Taken: nothing to change (0) or changes (3); refused: problems (4).
                if run.returncode not in ((0, 3) if taken else (4,)):
                    failures.append(f"case {number}: apply exits {run.returncode}: {run.stderr}")
        finally:
            sim.terminate()
            sim.wait(10)
    return "\n".join(failures)


if __name__ == "__main__":
    problems = main(sys.argv[1], sys.argv[2])
    if problems:
        sys.exit(problems)
