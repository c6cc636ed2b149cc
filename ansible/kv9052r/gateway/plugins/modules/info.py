# Reads a KV-9052R gateway with `kv9052r-cli read --json` on the managed host and returns its
# configuration; it never writes to the gateway.

DOCUMENTATION = r'''
module: info
short_description: Read a KV-9052R gateway's configuration
description:
  - Runs C(kv9052r-cli read --json) on the managed host and returns the configuration of the
    gateway on I(port), as the configuration file C(kv9052r-cli read --json) prints and
    M(kv9052r.gateway.config) takes.
  - It never changes anything, and runs in check mode as in any other.
extends_documentation_fragment:
  - kv9052r.gateway.port
options:
  texts:
    description:
      - List texts instead of numbers, such as C(EVEN) for a parity; C(--texts).
    type: bool
    default: false
attributes:
  check_mode:
    support: full
  diff_mode:
    support: none
author:
  - KV-9052R utility developers
'''

EXAMPLES = r'''
- name: Read the gateway on COM 3
  kv9052r.gateway.info:
    port: COM3
  register: gateway

- name: Show its node ID
  ansible.builtin.debug:
    msg: "{{ gateway.config.DeviceNetParams.NodeId }}"
'''

RETURN = r'''
config:
  description: The gateway's configuration, with the keys of a configuration file.
  returned: success
  type: dict
  sample: {"Format": "kv9052r-configuration/1", "DeviceNetParams": {"NodeId": 5, "BaudIndex": 2}}
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.kv9052r.gateway.plugins.module_utils.cli import (
    PORT_OPTIONS, port_result, run_cli)


def main():
    module = AnsibleModule(
        argument_spec=dict(PORT_OPTIONS, texts=dict(type='bool', default=False)),
        supports_check_mode=True,
    )
    status, document, err = run_cli(module, 'read', ['--texts'] if module.params['texts'] else [])
    if status != 0:
        port = port_result(module, document, err)
        module.fail_json(msg=port.get('Message') or err, stderr=err,
                         outcome=port.get('Outcome'), device=port.get('Device'))
    module.exit_json(changed=False, config=document)


if __name__ == '__main__':
    main()
