# shellcheck shell=bash
# Shared by run.sh and test.sh: makes sure the Debian packages that building,
# testing and running Taskgate need are installed. Sourced, not run.

# What scripts/fuzz.sh needs besides: clang and its libFuzzer runtime.
# shellcheck disable=SC2034 # used by scripts/fuzz.sh
TASKGATE_FUZZ_PACKAGES=(clang libclang-rt-14-dev)

TASKGATE_PACKAGES=(
  cmake g++ ninja-build
  qt6-base-dev qt6-translations-l10n libxcb1-dev fonts-dejavu-core
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils firebird3.0-server iproute2
  libsimpleini-dev
  libgtest-dev libbenchmark-dev
  dpkg-dev pkgconf desktop-file-utils python3-minimal
  xvfb xauth x11-utils imagemagick openbox
)

taskgate_ensure_packages() {
  local missing=() package
  for package in "${TASKGATE_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
      missing+=("$package")
    fi
  done
  if [[ ${#missing[@]} -eq 0 ]]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo=(sudo)
    else
      echo "error: these packages are missing and I am not root: ${missing[*]}" >&2
      return 1
    fi
  fi
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# Parallel build jobs: TASKGATE_JOBS, else the number of processors.
taskgate_jobs() {
  echo "${TASKGATE_JOBS:-$(nproc 2>/dev/null || echo 2)}"
}

# Configures a build directory with Ninja (unless it already has a cache,
# whose generator stays) and the given cache settings.
taskgate_configure() {
  local dir=$1
  shift
  local generator=()
  if [[ ! -f "$dir/CMakeCache.txt" ]]; then
    generator=(-G Ninja)
  fi
  cmake -S . -B "$dir" "${generator[@]}" "$@"
}
