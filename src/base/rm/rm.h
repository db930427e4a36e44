#pragma once

// The whole retained-mode scene layer: plain data that the OpenGL renderer draws.
#include "base/rm/backdrop.h"
#include "base/rm/frame.h"
#include "base/rm/light.h"
#include "base/rm/material.h"
#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "base/rm/shadow.h"
#include "base/rm/texture.h"
#include "base/rm/types.h"
#include "base/rm/viewport.h"
