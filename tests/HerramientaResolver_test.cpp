// cartoval-mesa resolver and sondear as a user runs them: the JSON, a line that the
// tool's own jugar plays to a win, the range summary, and bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>

#include "tests/Herramienta.h"

namespace {

// The steps of the JSON's "pasos", quoted for the shell.
std::string PasosDe(const std::string& json) {
  const auto inicio = json.find("\"pasos\":[");
  const auto fin = json.find(']', inicio);
  std::string r;
  const std::regex paso("\"([^\"]+)\"");
  const std::string lista = json.substr(inicio + 9, fin - inicio - 9);
  for (std::sregex_iterator it(lista.begin(), lista.end(), paso), e; it != e; ++it)
    r += " '" + (*it)[1].str() + "'";
  return r;
}

}  // namespace

TEST(HerramientaResolver, LaLineaGanaConJugarDesdeLosMismosPasos) {
  const TSalida s = Correr("resolver YukonEspañol 1 '5.0>7'");
  ASSERT_EQ(s.Estado, 0) << s.Errores;
  const std::regex forma(
      "\\{\"juego\":\"Yukon Español\",\"clave\":\"YukonEspañol\",\"numero\":1,"
      "\"veredicto\":\"ganable\",\"pasos\":\\[(\"([0-9]+\\.[0-9]+>[0-9]+|m)\",?)+\\],"
      "\"posiciones\":[1-9][0-9]*,\"ms\":[0-9]+\\}\n");
  EXPECT_TRUE(std::regex_match(s.Texto, forma)) << s.Texto;
  const TSalida j = Correr("jugar YukonEspañol 1 '5.0>7'" + PasosDe(s.Texto));
  ASSERT_EQ(j.Estado, 0);
  EXPECT_NE(j.Texto.find("\"ganado\":true"), std::string::npos) << j.Texto.substr(0, 300);
  EXPECT_EQ(j.Texto.find("\"hecho\":false"), std::string::npos);
}

TEST(HerramientaResolver, LimitesYVeredictosSinLinea) {
  const TSalida s = Correr("resolver --limite-ms 1 --limite-memoria 64 CuatroReyes 1");
  ASSERT_EQ(s.Estado, 0) << s.Errores;
  EXPECT_NE(s.Texto.find("\"veredicto\":\"no se sabe\",\"pasos\":[],"), std::string::npos)
      << s.Texto;
}

TEST(HerramientaResolver, SondearResumePorVeredicto) {
  const TSalida s = Correr("sondear --limite-ms 2000 Strup 1 4");
  ASSERT_EQ(s.Estado, 0) << s.Errores;
  EXPECT_EQ(s.Texto.rfind(
                "veredicto\trepartos\t%\tmediana_ms\tp99_ms\tmax_ms\tposiciones/s\tmemoria_MiB\n"
                "ganable\t",
                0),
            0u)
      << s.Texto;
  EXPECT_NE(s.Texto.find("\nsin solución\t"), std::string::npos);
  EXPECT_NE(s.Texto.find("\nno se sabe\t"), std::string::npos);
  EXPECT_NE(s.Texto.find("\ntotal\t4\t100.0\t"), std::string::npos) << s.Texto;
}

TEST(HerramientaResolver, EntradaIncorrecta) {
  for (const char* argumentos :
       {"resolver", "resolver Strup", "resolver NoExiste 1", "resolver Strup uno",
        "resolver Strup 99999999999", "resolver Strup 1 '1>'", "resolver --limite-ms Strup 1",
        "resolver --limite-ms 0 Strup 1", "resolver --limite-memoria -5 Strup 1",
        "resolver --rapido Strup 1", "sondear Strup 1", "sondear Strup 5 4",
        "sondear Strup 0 3", "sondear NoExiste 1 2", "sondear --limite-ms x Strup 1 2"}) {
    const TSalida s = Correr(argumentos);
    EXPECT_EQ(s.Estado, 2) << argumentos;
    EXPECT_TRUE(s.Texto.empty()) << argumentos;
    EXPECT_EQ(s.Errores.rfind("cartoval-mesa: ", 0), 0u) << argumentos;
    EXPECT_EQ(std::count(s.Errores.begin(), s.Errores.end(), '\n'), 1) << argumentos;
  }
}
