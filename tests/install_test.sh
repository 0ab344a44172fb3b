#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and checks what lands where: the binary on
# the PATH directory (stripped, working), the manual page in section 1, the README and
# the samples under the doc directory.
set -euo pipefail
build_dir=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build_dir" --prefix /usr/local >/dev/null

fail() { echo "install test: $*" >&2; exit 1; }
bin="$root/usr/local/bin/tilvex"
man="$root/usr/local/share/man/man1/tilvex.1"
doc="$root/usr/local/share/doc/tilvex"
[[ -x $bin ]] || fail "no executable at $bin"
[[ -f $man ]] || fail "no manual page at $man"
[[ -f $doc/README.md ]] || fail "no README in $doc"
[[ -f $doc/examples/stripes-4bpp-planar.bin ]] || fail "no sample input in $doc/examples"
if command -v file >/dev/null && file "$bin" | grep -q "not stripped"; then
    fail "installed binary is not stripped"
fi

# The installed tool converts the installed sample into the installed expected output.
"$bin" 4p 8l "$doc/examples/stripes-4bpp-planar.bin" "$root/out.bin"
cmp "$root/out.bin" "$doc/examples/stripes-8bpp-linear.bin" || fail "sample conversion differs"

# The manual page renders without a single groff warning.
if command -v groff >/dev/null; then
    warnings=$(groff -man -Tascii -ww "$man" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "groff warns: $warnings"
fi
echo "install test: ok"
