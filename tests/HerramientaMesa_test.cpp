// cartoval-mesa as a user runs it: golden runs of repartir and jugar, and bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tests/Herramienta.h"

TEST(HerramientaMesa, JuegosListaLosDieciseisEnOrden) {
  const TSalida s = Correr("juegos");
  EXPECT_EQ(s.Estado, 0);
  EXPECT_EQ(s.Texto.find("Cuatro Reyes\tCuatroReyes\tCuatroReyes\t260\n"), 0u);
  EXPECT_NE(s.Texto.find("Pingüino Patagónico\tPingüinoPatagónico\tPinguinoPatagonico\t240\n"),
            std::string::npos);
  EXPECT_EQ(std::count(s.Texto.begin(), s.Texto.end(), '\n'), 16);
}

TEST(HerramientaMesa, RepartirCuatroReyesUno) {
  const TSalida s = Correr("repartir CuatroReyes 1");
  ASSERT_EQ(s.Estado, 0);
  EXPECT_EQ(s.Texto.rfind("{\"juego\":\"Cuatro Reyes\",\"clave\":\"CuatroReyes\",\"numero\":1,"
                          "\"movimientos\":0,\"ganado\":false,\"paneles\":[\"Mazo: 0\",",
                          0),
            0u);
  EXPECT_NE(s.Texto.find("{\"n\":5,\"grupo\":\"Pila\",\"x\":9,\"y\":136,"
                         "\"cartas\":[\"6B\",\"3E\",\"4E\",\"7B\",\"5O\"]}"),
            std::string::npos);
  // The same deal by module name and by display name.
  EXPECT_EQ(Correr("repartir 'Cuatro Reyes' 1").Texto, s.Texto);
}

TEST(HerramientaMesa, JugarInformaCadaPaso) {
  // 4O from pile 7 onto 5C of pile 8; then a full Pila refuses; undo; a snapshot; return.
  const TSalida j = Correr("jugar CuatroReyes 1 '7>8' '8>5' a99 '7.9>1' d i v v m");
  ASSERT_EQ(j.Estado, 0);
  EXPECT_NE(j.Texto.find("\"pasos\":[{\"paso\":\"7>8\",\"hecho\":true},{\"paso\":\"8>5\","
                         "\"hecho\":false},{\"paso\":\"a99\",\"hecho\":false},{\"paso\":"
                         "\"7.9>1\",\"hecho\":false},{\"paso\":\"d\",\"hecho\":true},{\"paso\":"
                         "\"i\",\"hecho\":true},{\"paso\":\"v\",\"hecho\":true},{\"paso\":\"v\","
                         "\"hecho\":false},{\"paso\":\"m\",\"hecho\":false}]"),
            std::string::npos)
      << j.Texto;
  EXPECT_NE(j.Texto.find("\"movimientos\":2"), std::string::npos);
}

TEST(HerramientaMesa, EntradaMalaSale2SinNadaEnLaSalida) {
  for (const char* args : {"repartir NoExiste 1", "repartir CuatroReyes 2147483648",
                           "repartir CuatroReyes 12a", "jugar CuatroReyes 1 '3>'",
                           "jugar CuatroReyes 1 'a3.x'", "jugar CuatroReyes 1 q", "", "juegos x"}) {
    const TSalida s = Correr(args);
    EXPECT_EQ(s.Estado, 2) << args;
    EXPECT_TRUE(s.Texto.empty()) << args;
  }
  EXPECT_EQ(Correr("repartir CuatroReyes -2147483648").Estado, 0);
  // Without a command the usage names every one the tool has.
  const TSalida uso = Correr("");
  EXPECT_EQ(uso.Errores.rfind("cartoval-mesa: uso: cartoval-mesa juegos | ", 0), 0u)
      << uso.Errores;
  for (const char* orden : {"repartir", "jugar", "records", "resolver", "sondear"})
    EXPECT_NE(uso.Errores.find(std::string("| ") + orden + " "), std::string::npos) << orden;
}

namespace {

// Runs the tool with these exact argument bytes (no shell in between) and returns what it
// wrote to its error output.
std::string ErrorDeLaHerramienta(const std::vector<std::string>& argumentos) {
  int tubo[2];
  if (pipe(tubo) != 0) return "?";
  const pid_t hijo = fork();
  if (hijo == 0) {
    dup2(tubo[1], 2);
    close(tubo[0]);
    close(tubo[1]);
    std::vector<char*> argv{const_cast<char*>(CARTOVAL_MESA)};
    for (const auto& a : argumentos) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(CARTOVAL_MESA, argv.data());
    _exit(127);
  }
  close(tubo[1]);
  std::string texto;
  std::array<char, 4096> buf{};
  ssize_t n;
  while ((n = read(tubo[0], buf.data(), buf.size())) > 0) texto.append(buf.data(), static_cast<std::size_t>(n));
  close(tubo[0]);
  int estado = 0;
  waitpid(hijo, &estado, 0);
  return texto;
}

bool SoloTextoVisible(const std::string& s) {
  for (unsigned char c : s)
    if ((c < 0x20 && c != '\n') || c == 0x7F) return false;
  return true;
}

}  // namespace

// A bad name reaches the terminal escaped: no escape sequence, control byte or broken
// UTF-8 of the player's gets through, while good UTF-8 stays readable.
TEST(HerramientaMesa, NombresMalosSeMuestranEscapados) {
  struct TCaso {
    std::vector<std::string> Argumentos;
    std::string Esperado;
  };
  const std::vector<TCaso> casos = {
      {{"repartir", "\x1b]0;titulo\x07\x1b[2J", "1"}, "«\\x1B]0;titulo\\x07\\x1B[2J»"},
      {{"jugar", "Ping\xfc\xc3", "1"}, "«Ping\\xFC\\xC3»"},
      {{"records", "a\r\nb\x7f\\"}, "«a\\x0D\\x0Ab\\x7F\\\\»"},
      // Overlong slash, a surrogate, a C1 control and a right-to-left override.
      {{"repartir", "\xc0\xaf\xed\xa0\x80\xc2\x9b\xe2\x80\xae", "1"},
       "«\\xC0\\xAF\\xED\\xA0\\x80\\u{009B}\\u{202E}»"},
      {{"repartir", "CuatroReyes", "1\x1b[31m"}, "«1\\x1B[31m»"},
      {{"jugar", "CuatroReyes", "1", "3>\x1b"}, "«3>\\x1B»"},
      {{"repartir", "Pingüino Patagónico ♣", "1"}, "«Pingüino Patagónico ♣»"},
  };
  for (const auto& caso : casos) {
    const std::string error = ErrorDeLaHerramienta(caso.Argumentos);
    SCOPED_TRACE(caso.Esperado);
    EXPECT_NE(error.find(caso.Esperado), std::string::npos) << error;
    EXPECT_TRUE(SoloTextoVisible(error));
  }
}
