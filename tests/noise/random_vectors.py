"""The random 3D vector table the noise tables derive from a permutation."""


def random_vectors(perm):
    """1024 vectors with components in [-1, 1), then the first two again."""
    rows = []
    for i in range(1024):
        rows.append((perm[i] * 0.001953125 - 1,
                     perm[(perm[i] + 333) & 1023] * 0.001953125 - 1,
                     perm[(i + 512) & 1023] * 0.001953125 - 1))
    rows.append(rows[0])
    rows.append(rows[1])
    return rows
