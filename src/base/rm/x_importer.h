#pragma once

#include <assimp/material.h>
#include <assimp/scene.h>

#include <string>

namespace veltrane::rm {

// The ".x" importer's C interface, from a library opened at the first ".x"
// model: most starts load none, and the importer with the libraries it
// brings takes some 3 MB of every start's memory.
struct XImporter {
  const aiScene* (*importFromMemory)(const char* bytes, unsigned int length, unsigned int flags,
                                     const char* hint);
  void (*release)(const aiScene* scene);
  const char* (*lastError)();
  aiReturn (*materialColor)(const aiMaterial* m, const char* key, unsigned int type,
                            unsigned int index, aiColor4D* out);
  aiReturn (*materialFloats)(const aiMaterial* m, const char* key, unsigned int type,
                             unsigned int index, ai_real* out, unsigned int* count);
  aiReturn (*materialTexture)(const aiMaterial* m, aiTextureType type, unsigned int index,
                              aiString* path, aiTextureMapping* mapping, unsigned int* uvIndex,
                              ai_real* blend, aiTextureOp* op, aiTextureMapMode* mapMode,
                              unsigned int* flags);
};

// The importer, opened once for the whole process; nullptr with *error (if
// given) saying why when the library or one of its functions is missing.
const XImporter* OpenXImporter(std::string* error);

}  // namespace veltrane::rm
