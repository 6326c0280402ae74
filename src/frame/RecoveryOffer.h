#pragma once

class QWidget;

// At start: when programs that are no longer running left records unsaved, asks once
// whether to restore them. Yes opens each in a window of its kind, modified, its file
// on disk untouched; No deletes the copies. A copy that cannot be read or shown is
// reported by name and kept aside. Nothing happens without an active RecoveryStore.
void offerRecovery(QWidget *parent);
