#!/usr/bin/env bash
# Installs the built plug-in and its skin for the current user.
# Usage: scripts/install.sh [BUILD_DIR]     (default: build/release)
#   BUILD_DIR/ZelvaneWinVst.so   -> ~/.vst/ZelvaneWinVst.so
#   BUILD_DIR/skin/Data/Images/  -> <data>/Tarvenn Audio/Zelvane/Data/Images/
# where <data> is $XDG_DATA_HOME, or ~/.local/share when it is unset or not
# an absolute path (the plug-in looks in the same place).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
plugin="$build/ZelvaneWinVst.so"
skin="$build/skin/Data/Images"

if [[ ! -f "$plugin" ]]; then
  echo "install: no plug-in at $plugin; build first (cmake --preset release && cmake --build --preset release)" >&2
  exit 1
fi
shopt -s nullglob
images=("$skin"/*.png)
if ((${#images[@]} == 0)); then
  echo "install: no skin images in $skin; build the project (its skin target draws them)" >&2
  exit 1
fi

if [[ -z "${HOME:-}" ]]; then
  echo "install: HOME is not set" >&2
  exit 1
fi
data="$HOME/.local/share"
if [[ "${XDG_DATA_HOME:-}" == /* ]]; then data="$XDG_DATA_HOME"; fi
data="${data%/}"

vst_dir="$HOME/.vst"
images_dir="$data/Tarvenn Audio/Zelvane/Data/Images"
mkdir -p "$vst_dir" "$images_dir"
# The plug-in checks its own file name, so it keeps it.
cp -f "$plugin" "$vst_dir/ZelvaneWinVst.so"
cp -f "${images[@]}" "$images_dir/"

echo "install: plug-in      -> $vst_dir/ZelvaneWinVst.so"
echo "install: skin images  -> $images_dir/ (${#images[@]} files)"
case ":${LXVST_PATH:-}:" in
  *":$vst_dir:"*) ;;
  *)
    echo "install: hosts that do not look in ~/.vst find it through LXVST_PATH, e.g. in ~/.profile:"
    echo "    export LXVST_PATH=\"\$HOME/.vst\${LXVST_PATH:+:\$LXVST_PATH}\""
    ;;
esac
