#pragma once

#include <string>

namespace veltrane::gl {

// A linked vertex + fragment program. Needs a current context.
class ShaderProgram {
 public:
  ShaderProgram() = default;
  ~ShaderProgram();
  ShaderProgram(const ShaderProgram&) = delete;
  ShaderProgram& operator=(const ShaderProgram&) = delete;

  // False with the compiler's log in error.
  bool Build(const char* vertex_src, const char* fragment_src, std::string& error);
  void Release();
  void Use() const;
  int Uniform(const char* name) const;
  unsigned Id() const { return id_; }

 private:
  unsigned id_ = 0;
};

}  // namespace veltrane::gl
