#!/usr/bin/env bash
# ConsoleJson's scenario (scenario.sh's arguments), then its saved objects
# read back with Python's json, as a fleet engine reads them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/scenario.sh" "$@"
python3 "$here/console_json.py" "$2/$1"
