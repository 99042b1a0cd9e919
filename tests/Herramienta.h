#pragma once
// Runs cartoval-mesa through the shell, as a user would type it: what it wrote to each
// output and how it ended.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

struct TSalida {
  std::string Texto;
  std::string Errores;
  int Estado;
};

inline TSalida Correr(const std::string& argumentos) {
  // One file per process: the test programs run side by side under ctest.
  const std::string errores =
      testing::TempDir() + "cartoval-mesa-errores-" + std::to_string(getpid()) + ".txt";
  const std::string orden =
      std::string(CARTOVAL_MESA) + " " + argumentos + " 2>'" + errores + "'";
  TSalida s{"", "", -1};
  FILE* f = popen(orden.c_str(), "r");
  if (!f) return s;
  std::array<char, 4096> buf{};
  std::size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), f)) > 0) s.Texto.append(buf.data(), n);
  const int st = pclose(f);
  s.Estado = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  if (FILE* e = std::fopen(errores.c_str(), "r")) {
    while ((n = fread(buf.data(), 1, buf.size(), e)) > 0) s.Errores.append(buf.data(), n);
    std::fclose(e);
  }
  std::remove(errores.c_str());
  return s;
}
