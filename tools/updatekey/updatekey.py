#!/usr/bin/env python3
"""Writes the header that compiles the updater's manifest key into it.

updatekey.py OUTPUT.h [PUBLIC_KEY.pem]

With a PEM public key (ECDSA on P-256, as `openssl pkey -pubout` writes it), OUTPUT.h
defines kBuiltInUpdateKey as the key's point, X then Y, 32 big-endian bytes each; without
one, as null: a build that takes manifests unsigned. Any other key stops the build.
"""

import sys
from pathlib import Path

from cryptography.hazmat.primitives import serialization
from cryptography.hazmat.primitives.asymmetric import ec

HEADER = """#pragma once
// Made by tools/updatekey from {source}.
#include <windows.h>

{definition}
"""


def point_of(pem_path):
    """The 64 bytes of the P-256 public key in pem_path, or an error message."""
    try:
        key = serialization.load_pem_public_key(Path(pem_path).read_bytes())
    except (OSError, ValueError) as error:
        raise SystemExit("updatekey: %s: not a PEM public key (%s)" % (pem_path, error))
    if not isinstance(key, ec.EllipticCurvePublicKey) or key.curve.name != "secp256r1":
        raise SystemExit("updatekey: %s: not an ECDSA P-256 public key" % pem_path)
    numbers = key.public_numbers()
    return numbers.x.to_bytes(32, "big") + numbers.y.to_bytes(32, "big")


def main(argv):
    if len(argv) not in (2, 3):
        raise SystemExit(__doc__)
    if len(argv) == 3:
        point = point_of(argv[2])
        rows = ",\n    ".join(", ".join("0x%02x" % byte for byte in point[i:i + 16])
                              for i in range(0, len(point), 16))
        definition = ("constexpr BYTE kBuiltInUpdateKeyPoint[64] = {\n    %s};\n"
                      "constexpr const BYTE (*kBuiltInUpdateKey)[64] = &kBuiltInUpdateKeyPoint;"
                      % rows)
        source = Path(argv[2]).name
    else:
        definition = "constexpr const BYTE (*kBuiltInUpdateKey)[64] = nullptr;"
        source = "no key"
    text = HEADER.format(source=source, definition=definition)
    output = Path(argv[1])
    # Rewritten only when it changes, so that a new configure rebuilds nothing.
    if not output.exists() or output.read_text() != text:
        output.parent.mkdir(parents=True, exist_ok=True)
        output.write_text(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
