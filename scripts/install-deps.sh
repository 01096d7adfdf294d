#!/bin/sh
# Installs the Debian packages that building, running and testing Mibor8 need.
# Safe to run again: it only asks apt for what is missing.
set -e

PACKAGES="wine wine32:i386 g++-mingw-w64-i686 cmake ninja-build googletest \
xvfb xdotool imagemagick nasm python3-aiosmtpd openssl dpkg-dev fonts-wine pandoc libjpeg-turbo-progs \
texlive-latex-recommended texlive-fonts-recommended lmodern poppler-utils \
cups libcups2:i386 printer-driver-cups-pdf nsis"

if [ "$(id -u)" != 0 ]; then
    SUDO=sudo
else
    SUDO=
fi

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' \
        || missing="$missing $p"
done

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
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

# A mirror caught in the middle of an update fails for a while: try again.
if [ -n "$missing" ] || [ $need_update = 1 ]; then
    tries=0
    until $SUDO apt-get update -qq; do
        tries=$((tries + 1))
        [ $tries -lt 4 ] || exit 1
        sleep 20
    done
fi
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
