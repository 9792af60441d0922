# Installs the Debian packages named as arguments that are not installed yet, with sudo when
# not root. Sourced by run.sh and test.sh.
install_missing_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  # The package manager's progress goes to a log that is shown only when something fails.
  local log
  log=$(mktemp)
  if ! { $sudo apt-get update -qq &&
         DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
           "${missing[@]}"; } > "$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "Installing the packages failed." >&2
    return 1
  fi
  rm -f "$log"
}

# What building the program needs.
build_packages=(cmake make g++ qt6-base-dev libgl-dev libjpeg-dev libgif-dev libqrencode-dev
  libcurl4-openssl-dev qtkeychain-qt6-dev libfontconfig-dev fonts-ipafont-gothic fonts-noto-color-emoji qt6-translations-l10n)

# What the tests need besides: a virtual display to drive the real program on, clang with its
# fuzzing runtime, the display's damage reports for the start-up benchmark, a QR code reader
# to read back the codes the program draws, the desktop's tools that tell a file's type, the
# lossless optimisers of GIF and JPEG the pictures made for phones are measured against, FTP, FTPS
# and SFTP servers to publish to with the tools that make their certificates and keys, and a
# desktop keyring in a D-Bus session of its own to keep a password in.
test_packages=(xvfb xauth xdotool imagemagick gifsicle libjpeg-turbo-progs python3-pyftpdlib python3-openssl
  openssl openssh-server dbus gnome-keyring clang
  libclang-rt-14-dev desktop-file-utils appstream libxcb-damage0-dev zbar-tools shared-mime-info xdg-utils
  libfile-mimeinfo-perl)

# The program alone, without its tests and benchmarks, for a first start that is quick.
program_only=(-DMOPECO_TESTS=OFF)
# The program with its tests and benchmarks.
program_and_tests=(-DMOPECO_TESTS=ON)

# Configures and builds into build/; the program folder is build/mopeco/.
build_program() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build build --parallel "$(nproc)"
}
