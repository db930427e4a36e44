#pragma once

// The whole retained-mode scene layer: plain data that the OpenGL renderer draws.
#include "platform/rm/frame.h"
#include "platform/rm/light.h"
#include "platform/rm/material.h"
#include "platform/rm/mesh_builder.h"
#include "platform/rm/root.h"
#include "platform/rm/shadow.h"
#include "platform/rm/texture.h"
#include "platform/rm/types.h"
#include "platform/rm/viewport.h"
