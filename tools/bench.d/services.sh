# The system services: PingHost against a bare IcmpSendEcho (loopback only),
# a processor-sampler query, FreeUpMemory against memset.
# shellcheck shell=bash
for winver in winxp win98; do
  echo "--- $winver"
  corvane_bench_wine "$winver" "$WIN_BIN/corvane_services_bench.exe"
done
