// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitZlm5Resources() { Q_INIT_RESOURCE(zlm5); }

namespace zlm5 {

void LoadResources() {
  static const bool loaded = (InitZlm5Resources(), true);
  (void)loaded;
}

}  // namespace zlm5
