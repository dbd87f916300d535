"""Writes code page tables as C++ source for the engine's table generators."""


def write_source(output, header, declaration, blocks):
    """Writes `declaration = { ... };` with one brace block per (opening, closing, codes)."""
    lines = ['#include "%s"' % header, "", "namespace jet {", "", declaration + " = {"]
    for opening, closing, codes in blocks:
        lines.append("    " + opening)
        for start in range(0, len(codes), 12):
            lines.append("        " + " ".join("0x%04X," % u for u in codes[start:start + 12]))
        lines.append("    " + closing)
    lines += ["};", "", "} // namespace jet", ""]
    with open(output, "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(lines))
