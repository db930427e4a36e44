#include "platform/gl/shader_program.h"

#include <epoxy/gl.h>

#include <vector>

namespace veltrane::gl {
namespace {

GLuint Compile(GLenum type, const char* src, std::string& error) {
  GLuint s = glCreateShader(type);
  glShaderSource(s, 1, &src, nullptr);
  glCompileShader(s);
  GLint ok = 0;
  glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    GLint len = 0;
    glGetShaderiv(s, GL_INFO_LOG_LENGTH, &len);
    std::vector<char> log(static_cast<std::size_t>(len > 0 ? len : 1));
    glGetShaderInfoLog(s, len, nullptr, log.data());
    error = std::string(type == GL_VERTEX_SHADER ? "vertex shader: " : "fragment shader: ") +
            log.data();
    glDeleteShader(s);
    return 0;
  }
  return s;
}

}  // namespace

ShaderProgram::~ShaderProgram() { Release(); }

void ShaderProgram::Release() {
  if (id_) glDeleteProgram(id_);
  id_ = 0;
}

bool ShaderProgram::Build(const char* vs_src, const char* fs_src, std::string& error) {
  Release();
  GLuint vs = Compile(GL_VERTEX_SHADER, vs_src, error);
  if (!vs) return false;
  GLuint fs = Compile(GL_FRAGMENT_SHADER, fs_src, error);
  if (!fs) {
    glDeleteShader(vs);
    return false;
  }
  id_ = glCreateProgram();
  glAttachShader(id_, vs);
  glAttachShader(id_, fs);
  glLinkProgram(id_);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(id_, GL_LINK_STATUS, &ok);
  if (!ok) {
    GLint len = 0;
    glGetProgramiv(id_, GL_INFO_LOG_LENGTH, &len);
    std::vector<char> log(static_cast<std::size_t>(len > 0 ? len : 1));
    glGetProgramInfoLog(id_, len, nullptr, log.data());
    error = std::string("link: ") + log.data();
    Release();
    return false;
  }
  return true;
}

void ShaderProgram::Use() const { glUseProgram(id_); }

int ShaderProgram::Uniform(const char* name) const { return glGetUniformLocation(id_, name); }

}  // namespace veltrane::gl
