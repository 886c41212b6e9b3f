# Sourced by the packaging scripts: `need PACKAGE TEST...` notes a Debian package whose test
# fails, and `install_needed` installs those noted, as root, from Debian's packages.
missing=()
need() { # need PACKAGE TEST...
  local package=$1; shift
  "$@" >/dev/null 2>&1 || missing+=("$package")
}
install_needed() {
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or install these packages by hand): ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q || echo "apt-get update failed; installing from the package lists this machine already has." >&2
  apt-get install -y -q --no-install-recommends "${missing[@]}"
}
