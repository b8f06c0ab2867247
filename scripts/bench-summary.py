"""Reads a Google Benchmark JSON report and prints the protocol targets with their figures."""
import json
import sys

report = json.load(open(sys.argv[1]))
median = {b["run_name"]: b for b in report["benchmarks"] if b.get("aggregate_name") == "median"}


def per_byte_ns(name):
    b = median[name]
    return 1e9 / b["bytes_per_second"]


def gib_per_s(name):
    return median[name]["bytes_per_second"] / 2**30


small = per_byte_ns("BM_SNAC1502_1KiBFrame")
large = per_byte_ns("BM_SNAC1502_LargestFrame")
ratio = large / small
print(f"SNAC1502 per byte: 1 KiB frame {small:.3f} ns, largest frame {large:.3f} ns, ratio {ratio:.2f} (target <= 2)")
reassembly = gib_per_s("BM_ReassembleAndSplit_1MiB")
floor = gib_per_s("BM_Memcpy_1MiB")
share = reassembly / floor
print(f"Reassembly + SplitSNAC: {reassembly:.2f} GiB/s, memcpy {floor:.2f} GiB/s, share 1/{1/share:.1f} (target >= 1/20)")
ok = ratio <= 2 and share >= 1 / 20
print("targets met" if ok else "TARGET MISSED")
sys.exit(0 if ok else 1)
