#!/usr/bin/env python3
# Writes the per-core statistics files of tests/data/procstat (cores*.txt, hotplug*.txt) in the
# kernel's format: a "cpu" line that sums the cores, one "cpuN" line per core, then the other
# lines of a real file. Each interval between two files is designed so that its loads can be
# worked out by hand; the tests say what they are.
import random

TAIL = """intr 1001470 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 1 2 0 0 0 0 257 8 0 31 1 83441 0 2264
ctxt 1945496
btime 1796905193
processes 33138
procs_running 12
procs_blocked 0
softirq 564544 0 103439 4 5747 86147 0 4 73528 0 295675
"""
FIELDS = 10  # user nice system idle iowait irq softirq steal guest guest_nice


def write(name, cores):
    """cores: list of (number, counters) in file order; the total line sums them."""
    total = [sum(c[f] for _, c in cores) for f in range(FIELDS)]
    with open(name, "w") as out:
        out.write("cpu  " + " ".join(map(str, total)) + "\n")
        for number, c in cores:
            out.write("cpu%d " % number + " ".join(map(str, c)) + "\n")
        out.write(TAIL)


def advance(c, busy, idle):
    """c plus an interval of `busy` busy ticks and `idle` idle ones, spread over every field
    (guest time rides inside user and nice, as the kernel counts it)."""
    d = [0] * FIELDS
    d[2] = busy // 5            # system
    d[5] = busy // 10           # irq
    d[6] = busy // 10           # softirq
    d[7] = busy // 10           # steal
    d[1] = busy // 10           # nice
    d[0] = busy - sum(d)        # user, the rest
    d[8] = d[0] // 2            # guest, inside user
    d[9] = d[1] // 2            # guest_nice, inside nice
    d[4] = idle // 4            # iowait
    d[3] = idle - d[4]          # idle
    return [a + b for a, b in zip(c, d)]


def start(rng):
    return [rng.randrange(10**6, 10**8) for _ in range(FIELDS)]


def pair(prefix, n, load):
    rng = random.Random(n)
    a = [(i, start(rng)) for i in range(n)]
    b = [(i, advance(c, load(i), 100 - load(i))) for i, c in a]
    write(prefix + "_a.txt", a)
    write(prefix + "_b.txt", b)


# 1 core: 12 busy ticks in 100. 2 cores: 30 and 81 in 100 each.
pair("cores1", 1, lambda i: 12)
pair("cores2", 2, lambda i: [30, 81][i])
# 64 and 256 cores: core i is busy (37 i mod 101) ticks in 100.
pair("cores64", 64, lambda i: 37 * i % 101)
pair("cores256", 256, lambda i: 37 * i % 101)

# Hot-plugging on 4 cores, 100 ticks an interval: core i busy 10 (i + 1) ticks, except where said.
rng = random.Random(4)
a = [(i, start(rng)) for i in range(4)]
write("hotplug_a.txt", a)
b = [(i, advance(c, 10 * (i + 1), 100 - 10 * (i + 1))) for i, c in a]
write("hotplug_b.txt", [x for x in b if x[0] != 2])  # cpu2 goes offline
# cpu2 is back (its counters stood still while away) and cpu4 is new, listed out of order.
c = [(i, advance(cc, 10 * (i + 1), 100 - 10 * (i + 1)) if i != 2 else cc) for i, cc in b]
c.append((4, start(rng)))
write("hotplug_c.txt", [c[0], c[1], c[4], c[2], c[3]])
d = [(i, advance(cc, 50 + i, 50 - i)) for i, cc in c]
write("hotplug_d.txt", d)
