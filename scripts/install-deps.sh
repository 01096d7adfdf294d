#!/bin/sh
# Installs the Debian packages that building, running and testing Mibor8 need.
# Safe to run again: it only asks apt for what is missing.
#
# A mirror in the middle of a sync answers some package indexes badly for a while
# ("File has unexpected size ... Mirror sync in progress?"). That is not fatal:
# apt keeps the indexes it could read, and the install goes on with them. When the
# install then fails because an index of one architecture is missing (Multi-Arch
# libraries must have one version in amd64 and i386), it is tried once more with
# the suites whose indexes failed left out, through a source list in a temporary
# folder; the machine's own source lists are not changed for that.
set -u

PACKAGES="wine wine32:i386 g++-mingw-w64-i686 cmake ninja-build googletest \
xvfb xdotool imagemagick nasm python3-aiosmtpd openssl dpkg-dev fonts-wine pandoc libjpeg-turbo-progs \
texlive-latex-recommended texlive-fonts-recommended lmodern poppler-utils \
cups libcups2:i386 printer-driver-cups-pdf nsis"

if [ "$(id -u)" != 0 ]; then
    SUDO=sudo
else
    SUDO=
fi

fail() {
    echo "install-deps: $*" >&2
    exit 1
}

missing_packages() {
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' \
            || printf ' %s' "$p"
    done
}

missing=$(missing_packages)

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386 || fail "could not add the i386 architecture"
    need_update=1
fi

# libjpeg-turbo is built from Debian's own source package, which needs a deb-src entry.
SRCLIST=/etc/apt/sources.list.d/mibor8-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    $SUDO sh -c "cat > $SRCLIST" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    need_update=1
fi
[ -z "$missing" ] && [ $need_update = 0 ] && exit 0

tmp=$(mktemp -d) || fail "no temporary folder"
trap 'rm -rf "$tmp"' EXIT

# Reads the package indexes. A failure of some of them is noted (the suites named
# in apt's error lines go to $tmp/failed-suites) and the install goes on; a
# second try after a pause catches a sync that just ended.
update() {
    tries=0
    while :; do
        if $SUDO apt-get update -q >"$tmp/update.log" 2>&1; then
            : >"$tmp/failed-suites"
            return 0
        fi
        tries=$((tries + 1))
        [ $tries -lt 2 ] || break
        sleep 15
    done
    # "Err:6 http://host/debian-security bookworm-security/main i386 Packages",
    # "E: Failed to fetch http://host/debian-security/dists/bookworm-security/main/..."
    # and "E: The repository 'http://host/debian bookworm-nonexistent Release' ...".
    sed -n -e 's|^Err:[0-9]* [^ ]* \([^/ ]*\).*|\1|p' \
           -e '/^[EW]:/!d' \
           -e 's|.*/dists/\([^/ ]*\)/.*|\1|p' \
           -e "s|.*repository '[^ ]* \([^ ']*\) Release'.*|\1|p" "$tmp/update.log" \
        | sort -u >"$tmp/failed-suites"
    echo "install-deps: some package indexes could not be read ($(tr '\n' ' ' <"$tmp/failed-suites" | sed 's/ $//')); going on with the rest"
}

# Writes to $tmp/sources a copy of the machine's source lists without the suites
# in $tmp/failed-suites, in both formats apt reads.
sources_without_failed_suites() {
    mkdir -p "$tmp/sources"
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk -v failed="$tmp/failed-suites" '
            BEGIN { while ((getline s < failed) > 0) skip[s] = 1 }
            function flush() {
                if (stanza != "" && keep) printf "%s\n", stanza
                stanza = ""; keep = 1
            }
            BEGIN { keep = 1 }
            /^[ \t]*$/ { flush(); next }
            /^Suites:/ {
                line = "Suites:"; count = 0
                for (i = 2; i <= NF; i++) if (!($i in skip)) { line = line " " $i; count++ }
                if (count == 0) keep = 0
                $0 = line
            }
            { stanza = stanza $0 "\n" }
            END { flush() }' "$f" >"$tmp/sources/$(basename "$f")"
    done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        awk -v failed="$tmp/failed-suites" '
            BEGIN { while ((getline s < failed) > 0) skip[s] = 1 }
            /^[ \t]*deb/ {
                # deb [options] URI SUITE COMPONENTS...
                i = 2; if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                if (($(i + 1)) in skip) next
            }
            { print }' "$f" >"$tmp/sources/$(basename "$f")"
    done
}

install() {
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@" $missing \
        >"$tmp/install.log" 2>&1
}

if [ -n "$missing" ] || [ $need_update = 1 ]; then
    update
fi
[ -n "$missing" ] || exit 0
echo "Installing:$missing"
if install; then
    exit 0
fi

if [ -s "$tmp/failed-suites" ]; then
    echo "install-deps: apt could not match the versions of two architectures; trying once more without $(tr '\n' ' ' <"$tmp/failed-suites" | sed 's/ $//'), whose indexes failed"
    sources_without_failed_suites
    if install -o Dir::Etc::SourceParts="$tmp/sources" -o Dir::Etc::SourceList=/dev/null; then
        exit 0
    fi
fi
tail -n 20 "$tmp/install.log" >&2
fail "the packages needed could not be installed:$(missing_packages)"
