// The in-memory CAD application in one include: application, documents,
// tables, blocks and every entity kind.
#pragma once

#include "cad/memcad/application.h"
#include "cad/memcad/block.h"
#include "cad/memcad/block_reference.h"
#include "cad/memcad/commands.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/document.h"
#include "cad/memcad/entity.h"
#include "cad/memcad/errors.h"
#include "cad/memcad/explode.h"
#include "cad/memcad/faces.h"
#include "cad/memcad/picker.h"
#include "cad/memcad/polylines.h"
#include "cad/memcad/records.h"
#include "cad/memcad/selection.h"
#include "cad/memcad/texts.h"
#include "cad/memcad/true_color.h"
#include "cad/memcad/utility.h"
