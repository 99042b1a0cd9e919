#pragma once
// A fresh folder per test, standing for the program's folder; removed afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

class CarpetaTemporal : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device r;
    Carpeta = std::filesystem::temp_directory_path() / ("cartoval-prueba-" + std::to_string(r()));
    std::filesystem::create_directories(Carpeta);
  }
  void TearDown() override { std::filesystem::remove_all(Carpeta); }

  static std::string Leer(const std::filesystem::path& archivo) {
    std::ifstream f(archivo, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
  }
  static void Escribir(const std::filesystem::path& archivo, const std::string& datos) {
    std::ofstream(archivo, std::ios::binary) << datos;
  }

  std::filesystem::path Carpeta;
};
