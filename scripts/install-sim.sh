# Sourced: installs the token simulator (the x86_64 build) into the current
# Wine prefix where the vendors' installers put their software, and writes
# the default scenario: four tokens, one per vendor, none plugged in.
#   install_sim BUILD_DIR
# Afterwards `wine64 simctl ...` (in the system folder) drives the tokens.
SIM_DIR_WIN='C:\ProgramData\VeltraSim'

install_sim() {
  local build=$1
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  local sys="$WINEPREFIX/drive_c/windows/system32"
  local simdir="$WINEPREFIX/drive_c/ProgramData/VeltraSim"
  local f
  mkdir -p "$simdir/certs"

  for f in HtPkcs1120485 hhpkcs1114 typkcs11 mwpkcs11_v3 GEA20485 SKFAPI_HT20485 TOLVApi HHUKEYCOMM; do
    cp "$build/sim/$f.dll" "$sys/"
  done
  for f in GEUU20485 hhukcert14 simctl; do
    cp "$build/sim/$f.exe" "$sys/"
  done
  # The updater lives in TOLV's program folder.
  local tolv="$WINEPREFIX/drive_c/Program Files/VeltraCA/TOLV"
  [ -d "$tolv" ] && cp "$build/sim/Update.exe" "$tolv/"

  # The other files of the vendors' and the signing controls' packages:
  # only their presence matters to the programs that look for them.
  for f in SVS_C_SDK_COM.dll HHUKCSP14.dll HHUKCSP14.sig hhukey3k14.dll hhukeyic14.xml HHUKSH14.dll \
           HH_SKFAPI.dll UKCSP_CHS14.dll UKCSP_CHT14.dll UKCSP_EN14.dll SECOM.dll npSVS_C_SDK.dll; do
    [ -e "$sys/$f" ] || echo "token simulator placeholder" > "$sys/$f"
  done
  mkdir -p "$WINEPREFIX/drive_c/Program Files/OVNA"
  echo "token simulator placeholder" > "$WINEPREFIX/drive_c/Program Files/OVNA/npsecom.dll"

  # The vendors' CSPs, in both registry views.
  local csp view
  for csp in 'HHUK JDZY CSP V3.0' 'HaiTai Cryptographic Service Provider 20485'; do
    for view in 32 64; do
      "$WINE64" 'C:\windows\system32\reg.exe' add \
        "HKLM\\Software\\Microsoft\\Cryptography\\Defaults\\Provider\\$csp" \
        /v 'Image Path' /d "$csp.dll" /f "/reg:$view" >/dev/null 2>&1
    done
  done

  "$WINE64" regsvr32 /s 'C:\windows\system32\HHUKEYCOMM.dll' >/dev/null 2>&1

  local make="$root/sim/certs/make-token-cert.sh"
  "$make" "$simdir/certs/haitai-user.der" "张三" 20
  "$make" "$simdir/certs/huahong-user.der" "李四" 200
  "$make" "$simdir/certs/vendor3-user.der" "王五" 365
  "$make" "$simdir/certs/vendor4-user.der" "赵六" 365
  iconv -f utf-8 -t gbk > "$simdir/scenario.ini" <<'SCENARIO'
; Token simulator scenario (format: sim/README.md)

[slots]
haitai = 2
huahong = 1
vendor3 = 1
vendor4 = 1

[token ht1]
vendor = haitai
slot = 1
plugged = no
serial = HT20485A0000001
ht-serial = 2048500000000001
ck-serial = HT0000000001
cert = C:\ProgramData\VeltraSim\certs\haitai-user.der
pin = 123456
attempts = 6
max-attempts = 6

[token hh1]
vendor = huahong
slot = 1
plugged = no
serial = 0102500000000042
cert = C:\ProgramData\VeltraSim\certs\huahong-user.der
pin = 123456
attempts = 6
max-attempts = 6

[token ty1]
vendor = vendor3
slot = 1
plugged = no
serial = TY00000000000003
cert = C:\ProgramData\VeltraSim\certs\vendor3-user.der

[token mw1]
vendor = vendor4
slot = 1
plugged = no
serial = MW00000000000004
cert = C:\ProgramData\VeltraSim\certs\vendor4-user.der
SCENARIO
  : > "$simdir/calls.log"
}
