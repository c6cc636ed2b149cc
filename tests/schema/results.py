#!/usr/bin/env python3
"""Every command's --json result agrees with docs/result.schema.json: run for real against the
virtual gateway (COM16) and a port with nothing behind it (COM3), once succeeding and once
failing, each document validated with a real JSON Schema validator, its exit status compared
with the one expected and a few of its values with what the run must have said. Standard
output holds the document alone.

Usage: results.py BIN_DIR SCHEMA.json"""

import json
import os
import subprocess
import sys
import tempfile

import jsonschema


def port(doc, index=0):
    return doc["Ports"][index]


def change_paths(entry):
    return [(c["Path"], c["Before"], c["After"], c["BeforeText"], c["AfterText"])
            for c in entry["Changes"]]


# (arguments, exit status, what the document must say); "{d}" is a temporary folder that
# holds one.json (node ID 9), bad.json (node ID 99) and, once backed up, b.ini; "{examples}"
# docs/examples.
CASES = [
    (["apply", "--port", "COM16", "--dry-run", "{d}/one.json"], 3,
     lambda d: port(d)["State"] == "nothing-written" and change_paths(port(d)) ==
     [("DeviceNetParams.NodeId", 5, 9, "5", "9")]),
    (["apply", "--port", "COM16", "--eds-dir", "{d}", "{d}/one.json"], 0,
     lambda d: port(d)["Outcome"] == "ok" and port(d)["State"] == "written-and-verified" and
     port(d)["NodeId"] == 9 and "Backup" in port(d) and
     change_paths(port(d)) == [("DeviceNetParams.NodeId", 5, 9, "5", "9")]),
    (["apply", "--port", "COM16", "--eds-dir", "{d}", "{d}/one.json"], 0,
     lambda d: port(d)["State"] == "nothing-written" and port(d)["Changes"] == [] and
     "Backup" not in port(d)),
    (["apply", "--port", "COM16", "--dry-run", "--full-write", "{d}/one.json"], 3,
     lambda d: port(d)["Changes"] == [] and
     port(d)["Message"] == "No field changes; --full-write rewrites every block all the same."),
    (["apply", "--port", "COM16", "{d}/bad.json"], 4,
     lambda d: port(d)["Outcome"] == "refused" and port(d)["State"] == "nothing-written" and
     port(d)["Problems"] == [{"Path": "DeviceNetParams.NodeId",
                              "Message": "Node ID is not supported!(0~63)"}] and
     port(d)["Message"] == "DeviceNetParams.NodeId: Node ID is not supported!(0~63)\n"
                           "Nothing was written to the gateway."),
    (["apply", "--port", "COM3", "--dry-run", "{d}/one.json"], 1,
     lambda d: port(d)["Outcome"] == "failed" and port(d)["State"] == "nothing-written" and
     port(d)["Device"] == ""),
    (["read", "--port", "COM16,COM3"], 1,
     lambda d: port(d)["Configuration"]["DeviceNetParams"]["NodeId"] == 9 and
     "State" not in port(d) and port(d, 1)["Outcome"] == "failed" and
     port(d, 1)["Message"].startswith("Can't open COM 3!")),
    (["read", "--port", "COM3"], 1, lambda d: port(d)["Outcome"] == "failed"),
    (["read", "--port", "COM16", "--out-dir", "{d}"], 0,
     lambda d: port(d)["File"].endswith("COM16.json")),
    (["check", "{d}/one.json"], 0, lambda d: d["Problems"] == [] and d["Warnings"] == []),
    (["check", "{d}/bad.json"], 4, lambda d: d["Problems"][0]["Path"] == "DeviceNetParams.NodeId"),
    (["check", "--port", "COM16,COM3"], 1,
     lambda d: port(d)["Outcome"] == "ok" and port(d)["Problems"] == [] and
     port(d, 1)["Outcome"] == "failed"),
    (["diff", "{d}/one.json", "COM16"], 0,
     lambda d: d["Differences"] == [] and d["Compared"]["B"] == {"Given": "COM16",
                                                                  "Kind": "gateway"}),
    (["diff", "{d}/bad.json", "{d}/one.json"], 3,
     lambda d: d["Differences"] == [{"Path": "DeviceNetParams.NodeId", "A": 99, "B": 9,
                                     "AText": "99", "BText": "9"}]),
    (["diff", "{d}/one.json", "COM3"], 1, lambda d: d["Message"].startswith("Can't open COM 3!")),
    (["backup", "--port", "COM16", "{d}/b.ini"], 0,
     lambda d: port(d)["File"].endswith("b.ini") and "State" not in port(d)),
    (["backup", "--port", "COM3", "{d}/c.ini"], 1, lambda d: port(d)["Outcome"] == "failed"),
    (["restore", "--port", "COM16", "--no-backup", "{d}/b.ini"], 0,
     lambda d: port(d)["State"] == "written" and "Backup" not in port(d)),
    (["restore", "--port", "COM16", "{d}/one.json"], 2,
     lambda d: d["Ports"] == [] and "is a configuration file" in d["Message"]),
    (["eds", "--port", "COM16", "--out-dir", "{d}"], 0,
     lambda d: port(d)["File"].endswith(".eds")),
    (["eds", "--port", "COM3"], 1, lambda d: port(d)["Outcome"] == "failed"),
    (["ports"], 0,
     lambda d: d["ComPorts"][15] == {"Port": "COM16", "Device": d["ComPorts"][15]["Device"],
                                     "Source": "port-folder-link"} and
     d["ComPorts"][2]["Device"] == ""),
    (["ports", "--assign", "COM17", "/dev/null"], 1, lambda d: "There is no COM17" in d["Message"]),
    (["commands", "{d}/one.json", "--class", "COM1"], 0,
     lambda d: d["Class"] == "COM1" and d["Commands"] == []),
    (["commands", "{d}/one.json", "--class", "COM9"], 2,
     lambda d: d["Message"].startswith('Unknown class "COM9"')),
    (["report", "{d}/one.json", "-o", "{d}/r.html"], 0, lambda d: d["File"].endswith("r.html")),
    (["report", "{d}/bad.json", "-o", "{d}/r.html"], 4,
     lambda d: d["Problems"][0]["Path"] == "DeviceNetParams.NodeId"),
    (["probe", "{examples}/pump-station.json", "--server", "1=127.0.0.1:1", "--server",
      "2=127.0.0.1:1"], 3,
     lambda d: d["Summary"]["Unreachable"] == 4 and d["Probes"][6] == {
         "Class": "Server1", "Instance": 1, "FunctionCode": 3, "ProbedWith": 3,
         "Reference": "40001-40020", "Outcome": "unreachable", "ExceptionCode": None,
         "Values": [], "Detail": "Connection refused"}),
    (["probe", "--port", "COM3"], 1, lambda d: port(d)["Outcome"] == "failed"),
    (["factory-reset", "--port", "COM3", "--yes"], 1,
     lambda d: port(d)["State"] == "nothing-written"),
    (["factory-reset", "--port", "COM16", "--yes"], 0,
     lambda d: port(d)["State"] == "written" and port(d)["Backup"].endswith(".json")),
]


def main(bin_dir, schema_path):
    schema = json.load(open(schema_path, encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        env = dict(os.environ, KV9052R_PORT_DIR=folder, XDG_CONFIG_HOME=folder,
                   XDG_DATA_HOME=folder)
        for name, node_id in (("one", 9), ("bad", 99)):
            with open(os.path.join(folder, name + ".json"), "w", encoding="utf-8") as file:
                json.dump({"DeviceNetParams": {"NodeId": node_id}}, file)
        sim = subprocess.Popen([os.path.join(bin_dir, "kv9052r-gateway-sim"), "--demo",
                                "--com", "16"], env=env, stdout=subprocess.PIPE, text=True)
        try:
            if not sim.stdout.readline().startswith("Listening on"):
                return "the simulator did not start"
            for arguments, status, says in CASES:
                examples = os.path.join(os.path.dirname(schema_path), "examples")
                arguments = [a.replace("{d}", folder).replace("{examples}", examples)
                             for a in arguments] + ["--json"]
                name = " ".join(arguments).replace(folder, "DIR")
                if any("COM16" in a for a in arguments):  # a busy machine answers late
                    arguments += ["--reply-timeout", "2000"]
                run = subprocess.run([os.path.join(bin_dir, "kv9052r-cli"), *arguments],
                                     env=env, capture_output=True, text=True, timeout=60)
                try:
                    doc = json.loads(run.stdout)
                except ValueError:
                    failures.append(f"{name}: no JSON document: {run.stdout}{run.stderr}")
                    continue
                failures.extend(f"{name}: {error.message}" for error in validator.iter_errors(doc))
                if run.returncode != status or doc.get("Status") != status:
                    failures.append(f"{name}: exits {run.returncode}, not {status}: {run.stderr}")
                elif not says(doc):
                    failures.append(f"{name}: says {json.dumps(doc)}")
        finally:
            sim.terminate()
            sim.wait(10)
    return "\n".join(failures)


if __name__ == "__main__":
    problems = main(sys.argv[1], sys.argv[2])
    if problems:
        sys.exit(problems)
