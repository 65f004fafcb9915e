#!/usr/bin/env bash
# Checks of the installed program, run by CTest:
#   check.sh install BUILD_DIR VERSION   install into a temporary prefix, start it from there
#   check.sh desktop BUILD_DIR           desktop-file-validate on the desktop entry
#   check.sh appstream BUILD_DIR         appstreamcli validate on the metainfo
#   check.sh manpage BUILD_DIR           the manual page renders without warnings, every command in it
#   check.sh deb BUILD_DIR               the Debian package holds what it should
set -euo pipefail
mode=$1 build=$2
id=org.tempolatch.Tempolatch
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# What the package and an install put under the prefix, beside the docs.
expected_files() {
  cat <<LIST
bin/tempolatch
share/applications/$id.desktop
share/bash-completion/completions/tempolatch
share/icons/hicolor/256x256/apps/$id.png
share/icons/hicolor/48x48/apps/$id.png
share/icons/hicolor/scalable/apps/$id.svg
share/man/man1/tempolatch.1
share/metainfo/$id.metainfo.xml
share/mime/packages/$id.xml
LIST
}

png_size() {
  python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); assert d[:8]==b"\x89PNG\r\n\x1a\n"; print("%dx%d" % struct.unpack(">II", d[16:24]))' "$1"
}

case $mode in
install)
  version=$3
  cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
  for f in $(expected_files); do [[ -f $tmp/prefix/$f ]] || fail "not installed: $f"; done
  for size in 48 256; do
    got=$(png_size "$tmp/prefix/share/icons/hicolor/${size}x${size}/apps/$id.png")
    [[ $got == "${size}x${size}" ]] || fail "the ${size} px icon is $got"
  done
  # Started from the prefix, with a profile that does not exist yet.
  out=$(env -i PATH=/usr/bin:/bin HOME="$tmp/home" "$tmp/prefix/bin/tempolatch" --version)
  [[ $out == "tempolatch $version" ]] || fail "--version printed '$out'"
  [[ ! -e $tmp/home ]] || fail "--version created $tmp/home"
  # The completion offers the commands and the options of the installed program.
  out=$(PATH="$tmp/prefix/bin:$PATH" bash -c '
    source "$1"
    COMP_WORDS=(tempolatch export c); COMP_CWORD=2; _tempolatch; echo "${COMPREPLY[*]}"
    COMP_WORDS=(tempolatch archive x.tla --k); COMP_CWORD=3; _tempolatch; echo "${COMPREPLY[*]}"' \
    _ "$tmp/prefix/share/bash-completion/completions/tempolatch")
  [[ $out == $'clients csv\n--keep' ]] || fail "completion gave '$out'"
  ;;
desktop)
  desktop-file-validate "$build/packaging/$id.desktop"
  ;;
appstream)
  metainfo=$build/packaging/$id.metainfo.xml
  appstreamcli validate --no-net "$metainfo"
  ! grep -n '@[A-Z_]*@' "$metainfo" || fail "placeholders left in the metainfo"
  # The home page and the maintainer are those of the package.
  cache=$build/CMakeCache.txt
  value() { sed -n "s/^$1:[A-Z]*=//p" "$cache"; }
  tag() { sed -n "s|.*<$1[^>]*>\(.*\)</$1>.*|\1|p" "$metainfo"; }
  [[ $(tag url) == "$(value TEMPOLATCH_HOMEPAGE)" && $(tag url) == https://* ]] || fail "home page $(tag url)"
  [[ $(tag developer_name) == "$(value TEMPOLATCH_MAINTAINER)" ]] || fail "developer $(tag developer_name)"
  [[ $(tag update_contact) == "$(value TEMPOLATCH_MAINTAINER_EMAIL)" &&
     $(tag update_contact) == *@*.* ]] || fail "update contact $(tag update_contact)"
  ;;
manpage)
  page=$build/packaging/tempolatch.1
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -l "$page" 2>&1 >/dev/null || true)
  [[ -z $warnings ]] || fail "man warns: $warnings"
  # Every command of --help has its section.
  commands=$("$build/src/tempolatch" --help | grep -c '^  [a-z]')
  sections=$(grep -c '^\.SS ' "$page")
  [[ $commands -gt 0 && $commands == "$sections" ]] || fail "$commands commands, $sections sections"
  ;;
deb)
  (cd "$build" && cpack -G DEB -B "$tmp/deb" >/dev/null)
  deb=$(echo "$tmp"/deb/tempolatch_*.deb)
  [[ -f $deb ]] || fail "no package written"
  listed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | grep -v '^share/doc/' | sort)
  [[ $listed == "$(expected_files | sort)" ]] || fail "package holds: $listed"
  depends=$(dpkg-deb -f "$deb" Depends)
  for lib in libqt6widgets6 libqt6svg6 libqt6dbus6 libxss1 libsqlite3-0 libc6 qt6-qpa-plugins; do
    [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
  done
  [[ $(dpkg-deb -f "$deb" Package) == tempolatch ]] || fail "wrong package name"
  # The metainfo it carries names the package's home page and maintainer.
  dpkg-deb -x "$deb" "$tmp/root"
  metainfo=$(cat "$tmp/root/usr/share/metainfo/$id.metainfo.xml")
  [[ $metainfo == *"<url type=\"homepage\">$(dpkg-deb -f "$deb" Homepage)</url>"* ]] ||
    fail "home page differs from $(dpkg-deb -f "$deb" Homepage)"
  maintainer=$(dpkg-deb -f "$deb" Maintainer)
  email=${maintainer##*<} && email=${email%>}
  [[ $metainfo == *"<developer_name>${maintainer% <*}</developer_name>"* &&
     $metainfo == *"<update_contact>$email</update_contact>"* ]] || fail "maintainer differs from $maintainer"
  ;;
*)
  fail "unknown check $mode"
  ;;
esac
