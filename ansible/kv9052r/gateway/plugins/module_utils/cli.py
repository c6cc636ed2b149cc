# Runs kv9052r-cli on the managed host and reads the one JSON document it prints: the modules
# turn their options into its arguments and its document into their results, nothing more.

import json

PORT_OPTIONS = dict(
    port=dict(type='str', required=True),
    reply_timeout=dict(type='int'),
    cli=dict(type='str', default='kv9052r-cli'),
)


def run_cli(module, command, arguments):
    """kv9052r-cli COMMAND --port P --json ARGUMENTS: its exit status, its document (None when it
    printed none) and its messages for people."""
    params = module.params
    argv = [module.get_bin_path(params['cli'], required=True), command,
            '--port', params['port'], '--json'] + arguments
    if params['reply_timeout'] is not None:
        argv += ['--reply-timeout', str(params['reply_timeout'])]
    status, out, err = module.run_command(argv)
    try:
        document = json.loads(out)
    except ValueError:
        document = None
    return status, document, err.strip()


def port_result(module, document, err):
    """The document's entry of the one port; fails with the tool's messages without one."""
    ports = (document or {}).get('Ports') or []
    if not ports:
        module.fail_json(msg=err or 'kv9052r-cli printed no result.')
    return ports[0]
