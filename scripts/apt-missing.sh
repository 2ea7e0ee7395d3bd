# Sourced by the install scripts: installs those of the given Debian packages
# that are not installed yet, updating the package lists only when something
# is missing (then APT_UPDATED=1). Extra apt-get options come first, before
# "--". Fails when apt-get fails.
#
#   . scripts/apt-missing.sh; install_missing --no-install-recommends -- pkg1 pkg2:armhf
install_missing() {
  local opts=() missing=() p
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do opts+=("$1"); shift; done
  [ "$1" = "--" ] && shift
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq || return
  APT_UPDATED=1
  apt-get install -y -qq "${opts[@]}" "${missing[@]}"
}
