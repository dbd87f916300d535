#include "DialogAbout.h"

// Linked into package by lumivane_link_controls(package ... package), with AboutPackage.rc.
const AboutTemplate& ProgramAboutTemplate() {
    return kAboutPackage;
}
