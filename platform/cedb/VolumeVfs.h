// The SQLite file layer that volumes are opened with: the host's own (unix) layer, with every open,
// write, sync, truncation and removal of the volume and its journal asking the platform's
// fault-injection switch first, as the platform's other file calls do.
#pragma once

namespace platform::cedb {

class VolumeVfs {
 public:
  // Registers the layer once and returns its name for sqlite3_open_v2.
  static const char* name();
};

}  // namespace platform::cedb
