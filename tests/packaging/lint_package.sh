#!/usr/bin/env bash
# A Debian package checked by lintian: its errors fail, its warnings are
# shown, indented (the note that it runs as root left out).
# Usage: lint_package.sh PACKAGE
set -uo pipefail
deb=${1:?usage: lint_package.sh PACKAGE}
echo "lintian $(basename "$deb") (errors fail, warnings are shown):"
log=$(lintian --fail-on error "$deb" 2>&1)
linted=$?
sed -n '/running with root privileges/!s/^/  /p' <<<"$log"
exit $linted
