#include "DialogAbout.h"

// Linked into zipdex by lumivane_link_controls(zipdex ... zipdex), with AboutZipdex.rc.
const AboutTemplate& ProgramAboutTemplate() {
    return kAboutZipdex;
}
