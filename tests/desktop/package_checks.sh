# The package's checks that read its extracted files (sourced by package_test.sh; uses
# fail and expect_eq from common.sh, and $work for scratch files).

# check_metainfo ROOT VERSION: the AppStream metadata validates, launches the package's
# desktop entry, opens the desktop entry's file types and names VERSION as its newest release.
check_metainfo() {
    local root=$1 version=$2
    local metainfo="$root/usr/share/metainfo/io.github.sonolux.Sonolux.metainfo.xml"
    # Fault: metadata a software centre rejects.
    appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
        fail "appstreamcli validate: $(cat "$work/appstream.log")"
    # Fault: the metadata launching a desktop entry the package does not have.
    local launchable
    launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
    [ -f "$root/usr/share/applications/$launchable" ] ||
        fail "metainfo launches '$launchable', which the package lacks"
    # Fault: the software centre and the desktop entry disagreeing on the file types opened.
    local offered opened
    offered=$(sed -n 's|.*<mediatype>\(.*\)</mediatype>.*|\1|p' "$metainfo" | sort)
    opened=$(sed -n 's/^MimeType=//p' "$root/usr/share/applications/$launchable" | tr ';' '\n' |
        sed '/^$/d' | sort)
    expect_eq "metainfo media types" "$offered" "$opened"
    # Fault: a version bump without its release entry.
    expect_eq "newest metainfo release" \
        "$(sed -n 's|.*<release version="\([^"]*\)".*|\1|p' "$metainfo" | head -1)" "$version"
}

# check_changelog ROOT VERSION: the changelog is Debian's format, compressed as policy wants
# (no name or time stamp), and its newest entry is VERSION.
check_changelog() {
    local root=$1 version=$2
    local changelog="$root/usr/share/doc/sonolux/changelog.gz"
    # Fault: a gzip header carrying a file name or a time stamp (not reproducible).
    expect_eq "changelog gzip flags and time" "$(od -An -tx1 -j3 -N5 "$changelog" | tr -d ' ')" \
        "0000000000"
    zcat "$changelog" >"$work/changelog"
    expect_eq "newest changelog entry" "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" \
        "$version"
}

# check_copyright ROOT DEPENDS: the copyright file is machine-readable and names the licence
# of every library package in DEPENDS (the Depends field dpkg-shlibdeps filled in).
check_copyright() {
    local copyright="$1/usr/share/doc/sonolux/copyright" library words
    grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' \
        "$copyright" || fail "copyright file is not machine-readable"
    # Fault: a library linked in (by another engineer's change, say) whose licence the
    # copyright file does not name.
    words=$(tr -s '(),; \n' '\n' <"$copyright")
    for library in $(tr ',|' '\n\n' <<<"$2" | sed -n 's/^ *\(lib[^ ]*\).*/\1/p'); do
        # The sanitizer runtimes come only with a SANITIZE=1 build, never a release package.
        case "$library" in libasan* | libubsan*) continue ;; esac
        grep -qxF -- "$library" <<<"$words" ||
            fail "the copyright file does not name the licence of $library"
    done
}

# check_tools ROOT VERSION: each tool on the PATH answers --help and --version, and its manual
# page documents every option its help lists.
check_tools() {
    local root=$1 version=$2 tool option help
    for tool in sonolux-render rcp2smf sonolux-open; do
        # Fault: a tool failing --help or --version, or a version other than the package's.
        help=$("$root/usr/bin/$tool" --help) || fail "$tool --help failed"
        expect_eq "$tool --version" "$("$root/usr/bin/$tool" --version)" "$tool $version"
        zcat "$root/usr/share/man/man1/$tool.1.gz" >"$work/$tool.1"
        # Fault: an option the tool takes that its manual page does not describe.
        for option in $(grep -oE '^  +-[-a-z]+' <<<"$help"); do
            grep -qF -- "\\fB$option\\fR" "$work/$tool.1" ||
                fail "the manual page of $tool lacks $option"
        done
    done
}

# check_render_settings ROOT SONG: the installed sonolux-render plays with the midimap.ini in
# the user's config folder (not one beside the program), and with --midimap FILE.
check_render_settings() {
    local root=$1 song=$2
    local home="$work/render-home"
    mkdir -p "$home/.config/sonolux"
    printf '[Output]\nSoundFont=/nonexistent/user.sf2\n' >"$home/.config/sonolux/midimap.ini"
    printf '[Output]\nSoundFont=/nonexistent/given.sf2\n' >"$home/given.ini"
    env -i PATH="$PATH" HOME="$home" "$root/usr/bin/sonolux-render" "$song" "$home/out.wav" \
        2>"$work/render.log" && fail "rendered without the SoundFont midimap.ini names"
    grep -q '/nonexistent/user.sf2' "$work/render.log" ||
        fail "sonolux-render ignored ~/.config/sonolux/midimap.ini: $(cat "$work/render.log")"
    env -i PATH="$PATH" HOME="$home" "$root/usr/bin/sonolux-render" --midimap "$home/given.ini" \
        "$song" "$home/out.wav" 2>"$work/render.log" && fail "rendered with a missing SoundFont"
    grep -q '/nonexistent/given.sf2' "$work/render.log" ||
        fail "sonolux-render ignored --midimap: $(cat "$work/render.log")"
    [ ! -e "$home/out.wav" ] || fail "a failed render left out.wav"
}
