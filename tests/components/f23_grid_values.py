"""The program's values of one f23 member over the grid of
`contact_sheet --family 7 --values ID A B C N`, shared by the f23 oracle
checks."""
import subprocess


def member_grid(tool, member, A, B, C, n):
    """Runs member `member` at A, B, C over the n x n grid and returns the
    printed rows as (x, y, outputs); None, after saying so, when the tool
    printed another number of lines."""
    out = subprocess.run([tool, "--family", "7", "--values", str(member), repr(float(A)),
                          repr(float(B)), repr(float(C)), str(n)],
                         check=True, capture_output=True, text=True).stdout
    lines = out.split("\n")[:-1]
    if len(lines) != n * n:
        print(f"id {member} {A} {B} {C}: {len(lines)} lines, expected {n * n}")
        return None
    rows = []
    for line in lines:
        x, y, *got = (float(v) for v in line.split())
        rows.append((x, y, got))
    return rows
