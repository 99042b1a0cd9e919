#pragma once
// The player's files in a scratch folder for the length of one test.
#include <QTemporaryDir>

#include <filesystem>

#include <gtest/gtest.h>

#include "play/ventanas/Programa.h"

class TConCarpetaPrograma : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(carpeta.isValid());
    Programa().Carpeta = std::filesystem::path(carpeta.path().toStdString());
  }
  void TearDown() override { Programa().Carpeta.clear(); }

  QTemporaryDir carpeta;
};
