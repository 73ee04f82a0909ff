#!/usr/bin/env bash
# Installs the Debian packages Sonolux needs to build, run and test.
# Idempotent: packages already installed are left alone, and apt-get runs only
# when something is missing.
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libfluidsynth-dev libasound2-dev libarchive-dev liblhasa-dev libunarr-dev zlib1g-dev
    libgtest-dev libgmock-dev libxcb1-dev
    # build: the manual pages
    scdoc
    # run: fonts for the Japanese user interface, General MIDI SoundFonts
    fonts-ipafont-gothic fonts-noto-cjk
    fluid-soundfont-gm timgm6mb-soundfont
    # tests and benchmarks: archive makers, reference players, desktop checks
    zip unzip p7zip-full bzip2 gzip arj gcab jlha-utils libarchive-tools fluidsynth
    dbus playerctl desktop-file-utils xvfb xauth
    # the Debian package: CPack's dependency scan, and the checks a packager runs on it
    dpkg-dev file lintian appstream
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    apt_get=(apt-get)
elif command -v sudo >/dev/null 2>&1; then
    apt_get=(sudo apt-get)
else
    echo "These packages are missing and this user cannot install them: ${missing[*]}" >&2
    echo "Run 'make' as root, or install them with apt-get." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${apt_get[@]}" update -qq
"${apt_get[@]}" install -y -qq --no-install-recommends "${missing[@]}"
