#include "Bytes.h"

namespace jet {

void Bytes::throwPastEnd() {
    throw Error("file is damaged: a record reaches past the end of its page");
}

} // namespace jet
