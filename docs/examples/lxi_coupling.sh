#!/bin/bash
# lxi-tools from a shell: frequency coupling of CH1-CH2 (CH2 runs at twice
# CH1's frequency), CH3 and CH4 merged into CH3's output; the error list last.
#   lxi_coupling.sh [HOST]     (default 127.0.0.1)
set -e
HOST=${1:-127.0.0.1}
# lxi waits 3 s for a reply by default; a reset applies the factory settings
# to all four channels before it answers, which can take longer than that on
# a busy host.
scpi() { lxi scpi -a "$HOST" -t 30 "$1"; }
scpi "*IDN?"
scpi "*RST"           # start from the factory settings
scpi "CHANnel1:BASe:WAVe SINe; :CHANnel2:BASe:WAVe SINe"
scpi "CHANnel:COUPle1:FREQuency ON"
scpi "CHANnel:COUPle1:FREQuency:SCALe 2"
scpi "CHANnel1:BASe:FREQuency 3kHZ"
scpi "*OPC?" >/dev/null
echo "CH1 frequency: $(scpi "CHANnel1:BASe:FREQuency?")"
echo "CH2 frequency: $(scpi 'CHANnel2:BASe:FREQuency?')"
# Merge: CH3's connector carries the sum of CH3 and CH4.
scpi "CHANnel3:BASe:FREQuency 1kHZ; :CHANnel4:BASe:FREQuency 10kHZ"
scpi "CHANnel3:MERGe ON"
scpi "CHANnel3:OUTPut ON"
merged=$(scpi 'CHANnel3:MERGe?' | tr -d '[:space:]')   # lxi prints the reply with its line end
echo "CH3 merged: $merged"
[ "$merged" = 1 ]
err=$(scpi "SYSTem:ERRor?")
echo "error list: $err"
[ "${err%%,*}" = 0 ]
