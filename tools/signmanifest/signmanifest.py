#!/usr/bin/env python3
"""Prepares an update manifest for publishing: fills in and signs.

signmanifest.py MANIFEST FILES_DIR PRIVATE_KEY.pem [--output OUT] [--serial N] [--expires DAYS]

For every entry of the manifest (each element child of a Files element) it sets Length and
SHA256 from the new file FILES_DIR/<Name> (Name's backslashes are folder separators), and on
the document element Serial (N; by default one more than the Serial of the manifest already
at OUT, else 1) and Expires (DAYS days from now in UTC, 1 to 3650, by default 30). It writes
the manifest (UTF-8) to OUT or back to MANIFEST, and beside it OUT.sig: the DER-encoded ECDSA
P-256 signature with SHA-256 over the written bytes, as `openssl dgst -sha256 -sign
PRIVATE_KEY.pem` makes it. An encrypted key asks for its passphrase. Elements without a Name
are left as they are. Nothing is written when an entry's file is missing, the key is no P-256
key, or N is below the Serial already at OUT (updaters that took that one would refuse it).
"""

import argparse
import datetime
import getpass
import hashlib
import re
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


MAX_SERIAL = 2 ** 64 - 1
DEFAULT_EXPIRY_DAYS = 30
# Past ten years an expiry no longer keeps anyone from freezing the updater.
MAX_EXPIRY_DAYS = 3650


def published_serial(path):
    """The Serial of the manifest at path; None when there is none."""
    if not path.is_file():
        return None
    try:
        serial = ElementTree.fromstring(path.read_bytes()).get("Serial")
    except ElementTree.ParseError as error:
        fail("%s: cannot read its Serial (%s)" % (path, error))
    if serial is None:
        return None
    if not re.fullmatch(r"0|[1-9][0-9]{0,19}", serial) or int(serial) > MAX_SERIAL:
        fail("%s: Serial %r is no serial" % (path, serial))
    return int(serial)


def next_serial(requested, published):
    serial = requested
    if serial is None:
        serial = 1 if published is None else published + 1
    if not 0 <= serial <= MAX_SERIAL:
        fail("the serial must lie in 0 .. %d" % MAX_SERIAL)
    if published is not None and serial < published:
        fail("--serial %d is below the published %d: updaters that took it would refuse this"
             % (serial, published))
    return serial


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("manifest")
    parser.add_argument("files")
    parser.add_argument("key")
    parser.add_argument("--output")
    parser.add_argument("--serial", type=int)
    parser.add_argument("--expires", type=int, default=DEFAULT_EXPIRY_DAYS, metavar="DAYS")
    args = parser.parse_args(argv)
    if not 1 <= args.expires <= MAX_EXPIRY_DAYS:
        fail("--expires must lie in 1 .. %d days" % MAX_EXPIRY_DAYS)
    output = Path(args.output or args.manifest)
    text = Path(args.manifest).read_bytes()
    # The updater refuses documents with a document type declaration.
    if b"<!DOCTYPE" in text:
        fail("%s has a document type declaration" % args.manifest)
    root = ElementTree.fromstring(text)
    count = fill_entries(root, args.files)
    serial = next_serial(args.serial, published_serial(output))
    expires = (datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0) +
               datetime.timedelta(days=args.expires))
    root.set("Serial", str(serial))
    root.set("Expires", expires.strftime("%Y-%m-%dT%H:%M:%SZ"))
    key = load_key(args.key)
    document = (b'<?xml version="1.0" encoding="UTF-8"?>\n' +
                ElementTree.tostring(root, encoding="utf-8", xml_declaration=False) + b"\n")
    signature = key.sign(document, ec.ECDSA(hashes.SHA256()))
    output.write_bytes(document)
    Path(str(output) + ".sig").write_bytes(signature)
    print("%s: %d entries, Serial %d, expires %s, signed in %s.sig"
          % (output, count, serial, root.get("Expires"), output))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
