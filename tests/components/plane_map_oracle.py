"""The comparison the plane-map oracle checks share: runs the contact sheet
tool's `--family 3 --values ID A B C N` for each case and compares every
"x y x' y'" line it prints with the python oracle's (x', y')."""
import math
import subprocess

MARKER = 1e250  # the no-value marker, compared exactly


def close(got, want, tolerance=1e-12):
    if want >= MARKER or got >= MARKER:
        return got == want
    if math.isnan(want) or math.isnan(got):
        return math.isnan(want) and math.isnan(got)
    return abs(got - want) <= tolerance * (1 + abs(want))


def check_plane_maps(tool, cases, samples, oracle_args=()):
    """`cases`: (id, oracle, parameter triples); oracle(*oracle_args, A, B, C)
    gives the map (x, y) -> (x', y'). Prints the first 20 differences and a
    count; the exit status (1 when any point differs)."""
    failures = 0
    checked = 0
    for member, oracle, params in cases:
        for A, B, C in params:
            out = subprocess.run([tool, "--family", "3", "--values", str(member), repr(float(A)),
                                  repr(float(B)), repr(float(C)), str(samples)],
                                 check=True, capture_output=True, text=True).stdout
            f = oracle(*oracle_args, float(A), float(B), float(C))
            lines = out.split("\n")[:-1]
            if len(lines) != samples * samples:
                print(f"id {member} {A} {B} {C}: {len(lines)} lines, "
                      f"expected {samples * samples}")
                failures += 1
                continue
            for line in lines:
                x, y, gx, gy = (float(v) for v in line.split())
                wx, wy = f(x, y)
                checked += 1
                if not (close(gx, wx) and close(gy, wy)):
                    failures += 1
                    if failures <= 20:
                        print(f"id {member} A={A} B={B} C={C} at ({x}, {y}): "
                              f"program ({gx!r}, {gy!r}), oracle ({wx!r}, {wy!r})")
    print(f"{checked} points checked, {failures} failures")
    return 1 if failures else 0
