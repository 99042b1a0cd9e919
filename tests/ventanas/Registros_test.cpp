// The files of kept games and statistics: what they keep, what they refuse.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "play/registros/Estadisticas.h"
#include "play/registros/PartidaGuardada.h"

namespace {

namespace fs = std::filesystem;

TEST(PartidaGuardada, SeGuardaPorJuegoYSeBorra) {
  QTemporaryDir carpeta;
  const fs::path c = carpeta.path().toStdString();
  const TPartidaGuardada a{-7, {"3.2>5", "a7", "m", "d", "i", "v", "r"}, 65535, true};
  const TPartidaGuardada b{2147483647, {"1>2"}, 0, false};
  ASSERT_TRUE(GuardarPartida(c, "CuatroReyes", a));
  ASSERT_TRUE(GuardarPartida(c, "SquadronEspañol", b));
  EXPECT_EQ(LeerPartida(c, "CuatroReyes"), a);
  EXPECT_EQ(LeerPartida(c, "SquadronEspañol"), b);
  ASSERT_TRUE(GuardarPartida(c, "CuatroReyes", std::nullopt));
  EXPECT_FALSE(LeerPartida(c, "CuatroReyes"));
  EXPECT_EQ(LeerPartida(c, "SquadronEspañol"), b);
  // Written through a temporary file: nothing else is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(c), fs::directory_iterator()), 1);
}

TEST(PartidaGuardada, CamposFueraDeRangoDejanFueraElJuego) {
  auto con = [](const std::string& campos) {
    return LeerPartidasJson("{\"version\":1,\"partidas\":{\"Strup\":{" + campos + "}}}");
  };
  const std::string bien = "\"numero\":3,\"minutos\":2,\"ayuda\":false,\"pasos\":[\"1>2\"]";
  EXPECT_EQ(con(bien).size(), 1u);
  for (const char* mal :
       {"\"numero\":3.5,\"minutos\":2,\"ayuda\":false,\"pasos\":[]",
        "\"numero\":2147483648,\"minutos\":2,\"ayuda\":false,\"pasos\":[]",
        "\"numero\":3,\"minutos\":65536,\"ayuda\":false,\"pasos\":[]",
        "\"numero\":3,\"minutos\":2,\"ayuda\":0,\"pasos\":[]",
        "\"numero\":3,\"minutos\":2,\"ayuda\":false,\"pasos\":[\"1>\"]",
        "\"numero\":3,\"minutos\":2,\"ayuda\":false,\"pasos\":[7]",
        "\"numero\":\"3\",\"minutos\":2,\"ayuda\":false,\"pasos\":[]"})
    EXPECT_TRUE(con(mal).empty()) << mal;
  EXPECT_TRUE(LeerPartidasJson("{\"version\":2,\"partidas\":{\"Strup\":{" + bien + "}}}").empty());
  EXPECT_TRUE(LeerPartidasJson(std::string("\0\1\2", 3)).empty());
}

TEST(Estadisticas, RachasMejoresYUltimosPuntos) {
  TEstadisticaJuego e;
  EXPECT_FALSE(PorcentajeGanados(e));
  ContarJugado(e);
  ContarGanado(e, true, 100, 60, 5);
  ContarGanado(e, false, 90, 70, 3);  // won before anything counted it: also played
  ContarJugado(e);
  ContarAbandono(e);
  ContarGanado(e, false, 95, 50, 4);
  EXPECT_EQ(e.Jugados, 4u);
  EXPECT_EQ(e.Ganados, 3u);
  EXPECT_EQ(PorcentajeGanados(e), 75);
  EXPECT_EQ(e.RachaActual, 1u);
  EXPECT_EQ(e.RachaMaxima, 2u);
  EXPECT_EQ(e.MejoresPuntos, 90);
  EXPECT_EQ(e.MenosMovimientos, 50);
  EXPECT_EQ(e.MenorTiempo, 3);
  EXPECT_EQ(e.UltimosPuntos, (std::vector<std::uint16_t>{100, 90, 95}));
  for (std::uint16_t i = 0; i < 30; ++i) ContarGanado(e, false, i, i, i);
  ASSERT_EQ(e.UltimosPuntos.size(), kUltimosGanados);
  EXPECT_EQ(e.UltimosPuntos.front(), 10);
  EXPECT_EQ(e.UltimosPuntos.back(), 29);
  EXPECT_EQ(e.MejoresPuntos, 0);
}

TEST(Estadisticas, ElArchivoIdaYVueltaYDannadoEsVacio) {
  QTemporaryDir carpeta;
  const fs::path c = carpeta.path().toStdString();
  EXPECT_TRUE(LeerEstadisticas(c).empty());
  TEstadisticas t;
  ContarGanado(t["Strup"], false, 7, 5, 0);
  ContarJugado(t["YukonEspañol"]);
  ASSERT_TRUE(GuardarEstadisticas(c, t));
  EXPECT_EQ(LeerEstadisticas(c), t);
  std::ofstream(c / ArchivoEstadisticas) << "{\"version\":1,\"juegos\":{\"Strup\":";
  EXPECT_TRUE(LeerEstadisticas(c).empty());
  // Figures that contradict each other, or another version, are not read.
  EXPECT_TRUE(LeerEstadisticasJson(R"({"version":1,"juegos":{"Strup":{"jugados":1,"ganados":2,"rachaActual":0,"rachaMaxima":0}}})").empty());
  EXPECT_TRUE(LeerEstadisticasJson(R"({"version":1,"juegos":{"Strup":{"jugados":3,"ganados":2,"rachaActual":3,"rachaMaxima":3}}})").empty());
  EXPECT_TRUE(LeerEstadisticasJson(R"({"version":9,"juegos":{}})").empty());
  EXPECT_EQ(LeerEstadisticasJson(R"({"version":1,"juegos":{"Strup":{"jugados":3,"ganados":2,"rachaActual":1,"rachaMaxima":2,"ultimosPuntos":[4,5]}}})").at("Strup").UltimosPuntos,
            (std::vector<std::uint16_t>{4, 5}));
}

}  // namespace
