#pragma once
// The remote lock flag: the remote commands that take the instrument over set
// it (the front panel then refuses keys); the Utility key clears it, and so
// does losing the USB or network link it was set over (system tick).
extern bool pc_lock;
