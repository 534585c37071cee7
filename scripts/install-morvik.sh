# Sourced: installs the x86_64 build of Morvik into the current Wine prefix
# where its installer puts it, and registers it with regsvr32.
#   install_morvik BUILD_DIR
MORVIK_DIR_WIN='C:\Program Files\VeltraCA\Morvik'

install_morvik() {
  local build=$1
  local dir="$WINEPREFIX/drive_c/Program Files/VeltraCA/Morvik"
  mkdir -p "$dir"
  cp "$build/morvik/Morvik.dll" "$dir/"
  "$WINE64" regsvr32 /s "$MORVIK_DIR_WIN\\Morvik.dll" >/dev/null 2>&1
}
