# Writes a configuration to a KV-9052R gateway with `kv9052r-cli apply --json` on the managed
# host: what differs from the gateway, its backup kept first, the gateway read back after.

DOCUMENTATION = r'''
module: config
short_description: Write a configuration to a KV-9052R gateway
description:
  - Runs C(kv9052r-cli apply --json) on the managed host, which reads the gateway on I(port),
    keeps its configuration as a backup, writes only the settings that differ from the
    gateway's, writes the EDS file and reads the gateway back to compare.
  - The configuration is checked as the utility's windows check it before anything is sent;
    a configuration with problems is refused and nothing is written.
  - Check mode runs C(apply --dry-run), which reads the gateway and lists the changes a write
    would make, writing nothing.
  - Diff mode returns the changed fields, one line per key path, as the gateway holds them
    (before) and as they would be written (after).
  - The result says where the gateway stands also when the task fails, in I(state) and
    I(backup).
extends_documentation_fragment:
  - kv9052r.gateway.port
options:
  src:
    description:
      - A configuration file on the managed host, as C(kv9052r-cli read --json) writes it.
        Only the keys it holds change; the rest stays as the gateway holds it.
      - One of I(src) and I(config) is required.
    type: path
  config:
    description:
      - The configuration itself, as a dictionary with the keys of a configuration file
        (C(DeviceNetParams), C(EthernetParams), C(SerialClasses), ...).
    type: dict
  values:
    description:
      - This gateway's own node ID and addresses, which take the place of those of I(src)
        or I(config); typically from the host's variables, so that one configuration serves
        every gateway of a site. Values are written as in a configuration file.
    type: dict
    suboptions:
      NodeId:
        description: The DeviceNet node ID (MAC ID), 0..63.
        type: raw
      BaudIndex:
        description: The DeviceNet baud rate, its number or list text such as C(500 KBPS).
        type: raw
      Ip:
        description: The gateway's IP address.
        type: str
      Mask:
        description: Its subnet mask.
        type: str
      Gateway:
        description: Its default gateway.
        type: str
  backup_dir:
    description:
      - Where the gateway's configuration is kept before a write, on the managed host.
        Without it, C($XDG_DATA_HOME/kv9052r/backups) of the user the module runs as.
    type: path
  eds_dir:
    description:
      - The folder on the managed host the gateway's EDS file is written to.
        Without it, no EDS file is kept.
    type: path
  verify:
    description:
      - Read the gateway back after writing and compare.
    type: bool
    default: true
  strict:
    description:
      - Refuse a configuration that cannot work as meant (what C(kv9052r-cli check) warns
        of) instead of warning and writing it.
    type: bool
    default: false
  full_write:
    description:
      - Rewrite every EEPROM block and Ethernet setting, not only those that differ from
        the gateway's. The task is then C(changed) whenever it writes.
    type: bool
    default: false
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
notes:
  - A gateway that holds the configuration already is not written to at all, and no
    backup is kept; the task is not C(changed).
author:
  - KV-9052R utility developers
'''

EXAMPLES = r'''
- name: Write the site's configuration, each gateway with its own node ID and addresses
  kv9052r.gateway.config:
    port: "{{ item.port }}"
    src: /etc/kv9052r/pump-station.json
    values: "{{ item['values'] }}"  # item.values would be the dictionary's method
    eds_dir: /srv/eds
  loop: "{{ gateways }}"

- name: Change the Ethernet settings of one gateway behind a serial port server
  kv9052r.gateway.config:
    port: rfc2217://10.4.0.20:4001
    reply_timeout: 1000
    config:
      EthernetParams:
        Ip: 10.4.1.21
        Mask: 255.255.255.0
        Gateway: 10.4.1.1
'''

RETURN = r'''
state:
  description:
    - What the gateway holds now, C(nothing-written), C(partly-written), C(written)
      (not verified) or C(written-and-verified); in check mode C(nothing-written).
      A gateway that is C(partly-written) gets its earlier configuration back by applying
      I(backup).
  returned: when kv9052r-cli gave a result
  type: str
  sample: written-and-verified
backup:
  description: The configuration the gateway held before the write, kept on the managed host.
  returned: when a backup was kept
  type: str
  sample: /home/ann/.local/share/kv9052r/backups/2026-12-07_14-03-22_node5_COM3.json
outcome:
  description: C(ok), C(failed), C(refused) (the configuration has problems) or C(stopped).
  returned: always
  type: str
  sample: ok
message:
  description: What the tool tells a person of the outcome.
  returned: always
  type: str
  sample: Written and verified.
device:
  description: The device the port resolved to on the managed host.
  returned: when the port was found
  type: str
  sample: /dev/ttyUSB0
node_id:
  description: The gateway's DeviceNet node ID as written (as it would be, in check mode).
  returned: when the gateway was reached
  type: int
  sample: 5
ip:
  description: The gateway's IP address as written (as it would be, in check mode).
  returned: when the gateway was reached
  type: str
  sample: 192.168.1.20
changes:
  description: The fields that differ from the gateway's, by key path.
  returned: when the gateway was reached
  type: list
  elements: dict
  sample: [{"Path": "DeviceNetParams.NodeId", "Before": 5, "After": 7,
            "BeforeText": "5", "AfterText": "7"}]
problems:
  description: Why a configuration was refused, by key path.
  returned: when it was refused
  type: list
  elements: dict
  sample: [{"Path": "DeviceNetParams.NodeId", "Message": "..."}]
seconds:
  description: How long the tool took for the gateway.
  returned: always
  type: float
  sample: 4.2
'''

import csv
import json
import os

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.kv9052r.gateway.plugins.module_utils.cli import (
    PORT_OPTIONS, port_result, run_cli)

VALUE_COLUMNS = ('NodeId', 'BaudIndex', 'Ip', 'Mask', 'Gateway')


def configuration_file(module):
    """The file to apply: src, or the config dictionary written to a file of its own."""
    if module.params['src']:
        return module.params['src']
    path = os.path.join(module.tmpdir, 'configuration.json')
    with open(path, 'w', encoding='utf-8') as file:
        json.dump(module.params['config'], file)
    return path


def inventory_file(module):
    """The port's values as the one row of the inventory table apply takes."""
    given = {key: value for key, value in module.params['values'].items() if value is not None}
    path = os.path.join(module.tmpdir, 'values.csv')
    with open(path, 'w', encoding='utf-8', newline='') as file:
        writer = csv.writer(file)
        writer.writerow(('Port',) + tuple(given))
        writer.writerow([module.params['port']] + [str(value) for value in given.values()])
    return path


def apply_arguments(module):
    params = module.params
    arguments = [configuration_file(module),
                 '--eds-dir', params['eds_dir'] or module.tmpdir]
    if params['values']:
        arguments += ['--inventory', inventory_file(module)]
    if params['backup_dir']:
        arguments += ['--backup-dir', params['backup_dir']]
    for option, flag in (('strict', '--strict'), ('full_write', '--full-write')):
        if params[option]:
            arguments.append(flag)
    if not params['verify']:
        arguments.append('--no-verify')
    if module.check_mode:
        arguments.append('--dry-run')
    return arguments


def diff_of(port, changes):
    """The changed fields as Ansible shows a diff: one line per key path on either side."""
    return dict(before_header=port + ' (gateway)', after_header=port + ' (configuration)',
                before=''.join('%s: %s\n' % (c['Path'], c['BeforeText']) for c in changes),
                after=''.join('%s: %s\n' % (c['Path'], c['AfterText']) for c in changes))


def main():
    module = AnsibleModule(
        argument_spec=dict(
            PORT_OPTIONS,
            src=dict(type='path'),
            config=dict(type='dict'),
            values=dict(type='dict', options={
                column: dict(type='str' if column in ('Ip', 'Mask', 'Gateway') else 'raw')
                for column in VALUE_COLUMNS}),
            backup_dir=dict(type='path'),
            eds_dir=dict(type='path'),
            verify=dict(type='bool', default=True),
            strict=dict(type='bool', default=False),
            full_write=dict(type='bool', default=False),
        ),
        mutually_exclusive=[('src', 'config')],
        required_one_of=[('src', 'config')],
        supports_check_mode=True,
    )
    # The outcome says how it ended: a status Ansible would read as a failure (3: changes
    # found) is left out of the result.
    _, document, err = run_cli(module, 'apply', apply_arguments(module))
    port = port_result(module, document, err)
    changes = port.get('Changes', [])
    state = port.get('State')
    result = dict(
        changed=(document.get('Status') == 3 if module.check_mode
                 else state not in (None, 'nothing-written')),
        state=state, backup=port.get('Backup'), outcome=port.get('Outcome'),
        message=port.get('Message', ''), device=port.get('Device'), node_id=port.get('NodeId'),
        ip=port.get('Ip'), changes=changes, problems=port.get('Problems', []),
        seconds=port.get('Seconds'))
    if module._diff:
        result['diff'] = diff_of(module.params['port'], changes)
    for warning in port.get('Warnings', []):
        module.warn('%s: %s' % (warning['Path'], warning['Message']))
    if port.get('Outcome') != 'ok':
        module.fail_json(msg=result['message'] or err, stderr=err, **result)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
