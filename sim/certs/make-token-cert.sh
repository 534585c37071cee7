#!/usr/bin/env bash
# Makes a DER certificate for a simulated token: issued by a demo "QLMA"
# authority (its key and certificate are made once and kept in the output
# folder), subject "C=CN, O=<organisation>, CN=<holder>", valid from now
# for DAYS days.  The holder may be Chinese (UTF-8 on the command line).
# Usage: make-token-cert.sh OUT.der HOLDER DAYS [ORGANISATION]
set -euo pipefail
out=$1 holder=$2 days=$3 org=${4:-Veltra Demo}
dir=$(cd "$(dirname "$out")" && pwd)
ca_key="$dir/.qlma-ca.key" ca_crt="$dir/.qlma-ca.pem"
if [ ! -f "$ca_crt" ]; then
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$ca_key" -out "$ca_crt" -days 3650 \
    -subj "/C=CN/O=Veltra/CN=QLMA" -utf8 2>/dev/null
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
openssl req -newkey rsa:2048 -nodes -keyout "$tmp/key.pem" -out "$tmp/req.pem" \
  -subj "/C=CN/O=$org/CN=$holder" -utf8 2>/dev/null
openssl x509 -req -in "$tmp/req.pem" -CA "$ca_crt" -CAkey "$ca_key" \
  -set_serial "0x$(openssl rand -hex 8)" -days "$days" -outform DER -out "$out" 2>/dev/null
