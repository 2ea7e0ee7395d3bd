#!/bin/bash
# lxi-tools from a shell: frequency coupling of CH1-CH2 (CH2 runs at twice
# CH1's frequency); the error list last.
#   lxi_coupling.sh [HOST]     (default 127.0.0.1)
set -e
HOST=${1:-127.0.0.1}
scpi() { lxi scpi -a "$HOST" "$1"; }
scpi "*IDN?"
scpi "*RST"           # start from the factory settings
scpi "CHANnel1:BASe:WAVe SINe; :CHANnel2:BASe:WAVe SINe"
scpi "CHANnel:COUPle1:FREQuency ON"
scpi "CHANnel:COUPle1:FREQuency:SCALe 2"
scpi "CHANnel1:BASe:FREQuency 3kHZ"
scpi "*OPC?" >/dev/null
echo "CH1 frequency: $(scpi "CHANnel1:BASe:FREQuency?")"
echo "CH2 frequency: $(scpi 'CHANnel2:BASe:FREQuency?')"
err=$(scpi "SYSTem:ERRor?")
echo "error list: $err"
[ "${err%%,*}" = 0 ]
