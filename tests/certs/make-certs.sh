#!/usr/bin/env bash
# Makes the test certificates (DER files beside this script) with openssl:
# the authority's CA "QLMA", another issuer, and leaf certificates covering
# the key-usage kinds, the organisation extensions and a UTC date edge.
# The files are committed; run this again only to change them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

ca() {  # ca NAME CN
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.pem" -days 7300 \
    -subj "/C=CN/O=Veltra/CN=$2" -set_serial 1 -utf8 2>/dev/null
  mkdir -p "$1.db"
  : > "$1.db/index.txt"
  echo 1000 > "$1.db/serial"
}

# leaf FILE ISSUER CN KEYUSAGE START END [EXTENSION LINES...]
# KEYUSAGE is an openssl keyUsage list, or "none".
leaf() {
  local file=$1 issuer=$2 cn=$3 ku=$4 start=$5 end=$6
  shift 6
  {
    echo "[ca]"; echo "default_ca = own"
    echo "[own]"
    echo "database = $issuer.db/index.txt"; echo "serial = $issuer.db/serial"
    echo "new_certs_dir = $issuer.db"; echo "default_md = sha256"
    echo "policy = anything"; echo "unique_subject = no"; echo "copy_extensions = none"
    echo "[anything]"; echo "commonName = supplied"; echo "organizationName = optional"
    echo "countryName = optional"
    echo "[ext]"
    [ "$ku" != none ] && echo "keyUsage = critical, $ku"
    for line in "$@"; do echo "$line"; done
  } > "$file.cnf"
  openssl req -newkey rsa:2048 -nodes -keyout "$file.key" -out "$file.csr" \
    -subj "/C=CN/O=Veltra/CN=$cn" -utf8 2>/dev/null
  openssl ca -batch -config "$file.cnf" -extensions ext -utf8 -cert "$issuer.pem" -keyfile "$issuer.key" \
    -in "$file.csr" -out "$file.pem" -startdate "$start" -enddate "$end" -notext 2>/dev/null
  openssl x509 -in "$file.pem" -outform DER -out "$here/$file.der"
}

marker() { echo "2.4.16.11.7.1 = ASN1:UTF8String:$1"; }
taxpayer() { echo "2.4.16.11.7.2 = ASN1:UTF8String:$1"; }
subaccount() { echo "2.4.16.11.7.4 = ASN1:UTF8String:$1"; }
taxreg() { echo "1.2.86.11.7.5 = ASN1:UTF8String:$1"; }

ca qlma "QLMA"
ca other "Other Trust CA"
openssl x509 -in qlma.pem -outform DER -out "$here/qlma-ca.der"

S=20240101000000Z
E=20351231000000Z
leaf zhang-sign qlma "张三科技有限公司" digitalSignature $S $E \
  "$(marker '*1B*')" "$(taxpayer 91350100MA2Y0001X)" "$(subaccount 02)" "$(taxreg 350100123456789)"
leaf zhang-enc qlma "张三科技有限公司" dataEncipherment $S $E
leaf zhang-sign2 qlma "张三科技有限公司" digitalSignature $S 20361231000000Z
leaf li-sign-nr qlma "李四贸易" "digitalSignature, nonRepudiation" $S $E \
  "$(marker '*1B*')" "$(taxpayer 91350200MA2Y0002Y)" "$(taxreg 350200987654321)"
leaf li-enc-ke qlma "李四贸易" "keyEncipherment, dataEncipherment" $S $E
leaf wang-enc qlma "王五商行" dataEncipherment $S $E
leaf zhao-ke qlma "赵六工作室" keyEncipherment $S $E
leaf qian-noku qlma "钱七个人" none $S $E
leaf sun-utc qlma "孙八物流" digitalSignature 20140301000000Z 20150228163000Z
leaf zhou-marker qlma "周九建设" digitalSignature $S $E "$(marker '*2B*')" "$(taxpayer 91350300MA2Y0003Z)"
leaf other-sign other "外部单位" digitalSignature $S $E
ls -1 "$here"/*.der
