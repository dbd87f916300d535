#!/usr/bin/env python3
"""Prepares an update manifest for publishing: fills in and signs.

signmanifest.py MANIFEST FILES_DIR PRIVATE_KEY.pem [--output OUT]

For every entry of the manifest (each element child of a Files element) it sets Length and
SHA256 from the new file FILES_DIR/<Name> (Name's backslashes are folder separators), writes
the manifest (UTF-8) to OUT or back to MANIFEST, and beside it OUT.sig: the DER-encoded
ECDSA P-256 signature with SHA-256 over the written bytes, as
`openssl dgst -sha256 -sign PRIVATE_KEY.pem` makes it. An encrypted key asks for its
passphrase. Elements without a Name are left as they are. Nothing is written when an entry's file is missing or the key is no P-256 key.
"""

import argparse
import getpass
import hashlib
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path, PurePosixPath

from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec


def fail(message):
    raise SystemExit("signmanifest: " + message)


def load_key(path):
    data = Path(path).read_bytes()
    try:
        key = serialization.load_pem_private_key(data, password=None)
    except TypeError:
        passphrase = getpass.getpass("Passphrase for %s: " % path).encode()
        key = serialization.load_pem_private_key(data, password=passphrase)
    if not isinstance(key, ec.EllipticCurvePrivateKey) or key.curve.name != "secp256r1":
        fail("%s is no ECDSA P-256 private key" % path)
    return key


def new_file(folder, name):
    """The file that entry `name` installs, kept inside `folder`."""
    parts = PurePosixPath(name.replace("\\", "/")).parts
    if not parts or parts[0] == "/" or ":" in name or any(p in ("", ".", "..") for p in parts):
        fail("entry name %r leaves the folder" % name)
    path = Path(folder).joinpath(*parts)
    if not path.is_file():
        fail("no new file for entry %r: %s" % (name, path))
    return path


def fill_entries(root, folder):
    files = list(root.iter("Files"))
    entries = [entry for group in files for entry in group]
    if not files:
        fail("no Files element: not a manifest")
    for entry in entries:
        # Such as a group around a nested Files element: the updater offers no file for it.
        if entry.get("Name") is None:
            continue
        path = new_file(folder, entry.get("Name"))
        data = path.read_bytes()
        entry.set("Length", str(len(data)))
        entry.set("SHA256", hashlib.sha256(data).hexdigest())
    return sum(entry.get("Name") is not None for entry in entries)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("manifest")
    parser.add_argument("files")
    parser.add_argument("key")
    parser.add_argument("--output")
    args = parser.parse_args(argv)
    text = Path(args.manifest).read_bytes()
    # The updater refuses documents with a document type declaration.
    if b"<!DOCTYPE" in text:
        fail("%s has a document type declaration" % args.manifest)
    root = ElementTree.fromstring(text)
    count = fill_entries(root, args.files)
    key = load_key(args.key)
    document = (b'<?xml version="1.0" encoding="UTF-8"?>\n' +
                ElementTree.tostring(root, encoding="utf-8", xml_declaration=False) + b"\n")
    signature = key.sign(document, ec.ECDSA(hashes.SHA256()))
    output = Path(args.output or args.manifest)
    output.write_bytes(document)
    Path(str(output) + ".sig").write_bytes(signature)
    print("%s: %d entries, signed in %s.sig" % (output, count, output))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
