# Sourced: installs the x86_64 build of TOLV into the current Wine prefix,
# where an installer puts it, with the folders the program expects.
TOLV_DIR_WIN='C:\Program Files\VeltraCA\TOLV'

install_tolv() {
  local build=$1
  local dir="$WINEPREFIX/drive_c/Program Files/VeltraCA/TOLV"
  mkdir -p "$dir/INI" "$dir/res"
  cp "$build/tolv/TOLV.exe" "$dir/"
}
