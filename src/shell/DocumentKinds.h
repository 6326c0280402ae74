#pragma once

class TBigBadParent;

// Tells the main window which window serves each tool and each file extension.
// Every record kind adds itself here.
void registerDocumentKinds(TBigBadParent &parent);
