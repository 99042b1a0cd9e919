#include "play/registros/PartidaGuardada.h"

#include <QJsonArray>

#include <limits>

#include "play/registros/RegistroJson.h"
#include "tools/Pasos.h"

namespace {

constexpr qsizetype kMaximoPasos = 200000;

const TFormatoRegistro kFormato{ArchivoPartidas, QStringLiteral("partidas"), VersionPartidas,
                                VersionPartidas, 8 * 1024 * 1024};
const QString kGanable = QStringLiteral("ganable");
const QString kUnidos = QStringLiteral("unidos");
const QString kPorRehacer = QStringLiteral("porRehacer");

// Step indexes, increasing, each within the log.
std::optional<std::vector<std::size_t>> LeerUnidos(const QJsonValue& v, std::size_t pasos) {
  std::vector<std::size_t> r;
  if (v.isUndefined()) return r;
  if (!v.isArray()) return std::nullopt;
  for (const QJsonValue& i : v.toArray()) {
    const auto n = EnteroJson(i, r.empty() ? 0 : static_cast<double>(r.back()) + 1,
                              static_cast<double>(pasos) - 1);
    if (!n) return std::nullopt;
    r.push_back(static_cast<std::size_t>(*n));
  }
  return r;
}

std::optional<TMesa::TPorRehacer> LeerPorRehacer(const QJsonValue& v) {
  const QJsonObject o = v.toObject();
  const QJsonValue paso = o.value(QStringLiteral("paso"));
  const auto profundidad = EnteroJson(o.value(QStringLiteral("profundidad")), 0,
                                      std::numeric_limits<int>::max());
  const QJsonValue unido = o.value(QStringLiteral("unido"));
  if (!v.isObject() || !paso.isString() || !profundidad || !unido.isBool()) return std::nullopt;
  std::string texto = paso.toString().toStdString();
  if (!LeerPaso(texto)) return std::nullopt;
  return TMesa::TPorRehacer{std::move(texto), static_cast<int>(*profundidad), unido.toBool()};
}

std::optional<TPartidaGuardada> LeerUna(const QJsonObject& o, int) {
  const auto numero = EnteroJson(o.value(QStringLiteral("numero")),
                                 std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max());
  const auto minutos = EnteroJson(o.value(QStringLiteral("minutos")), 0, 65535);
  const QJsonValue ayuda = o.value(QStringLiteral("ayuda"));
  const QJsonValue pasos = o.value(QStringLiteral("pasos"));
  // Kept games of older programs do not say whether the deal was proven ganable.
  const QJsonValue ganable = o.value(kGanable);
  if (!numero || !minutos || !ayuda.isBool() || !pasos.isArray() ||
      !(ganable.isUndefined() || ganable.isBool()))
    return std::nullopt;
  const QJsonArray lista = pasos.toArray();
  if (lista.size() > kMaximoPasos) return std::nullopt;
  TPartidaGuardada p;
  p.Numero = static_cast<std::int32_t>(*numero);
  p.Minutos = static_cast<std::uint16_t>(*minutos);
  p.AyudaUsada = ayuda.toBool();
  p.RepartoGanable = ganable.toBool();
  p.Pasos.reserve(static_cast<std::size_t>(lista.size()));
  for (const QJsonValue& paso : lista) {
    if (!paso.isString()) return std::nullopt;
    std::string texto = paso.toString().toStdString();
    if (!LeerPaso(texto)) return std::nullopt;
    p.Pasos.push_back(std::move(texto));
  }
  auto unidos = LeerUnidos(o.value(kUnidos), p.Pasos.size());
  if (!unidos) return std::nullopt;
  p.Unidos = std::move(*unidos);
  if (const QJsonValue rehacer = o.value(kPorRehacer); !rehacer.isUndefined()) {
    if (!rehacer.isArray() || rehacer.toArray().size() > kMaximoPasos) return std::nullopt;
    p.PorRehacer.emplace();
    for (const QJsonValue& e : rehacer.toArray()) {
      auto r = LeerPorRehacer(e);
      if (!r) return std::nullopt;
      p.PorRehacer->push_back(std::move(*r));
    }
  }
  return p;
}

QJsonObject EnJson(const TPartidasGuardadas& partidas) {
  QJsonObject juegos;
  for (const auto& [clave, p] : partidas) {
    QJsonArray pasos;
    for (const std::string& paso : p.Pasos) pasos.append(QString::fromStdString(paso));
    QJsonObject o{{QStringLiteral("numero"), static_cast<double>(p.Numero)},
                  {QStringLiteral("minutos"), static_cast<double>(p.Minutos)},
                  {QStringLiteral("ayuda"), p.AyudaUsada},
                  {QStringLiteral("pasos"), pasos}};
    if (p.RepartoGanable) o.insert(kGanable, true);
    if (!p.Unidos.empty()) {
      QJsonArray unidos;
      for (std::size_t i : p.Unidos) unidos.append(static_cast<double>(i));
      o.insert(kUnidos, unidos);
    }
    if (p.PorRehacer) {
      QJsonArray rehacer;
      for (const TMesa::TPorRehacer& r : *p.PorRehacer)
        rehacer.append(QJsonObject{{QStringLiteral("paso"), QString::fromStdString(r.Paso)},
                                   {QStringLiteral("profundidad"), r.Profundidad},
                                   {QStringLiteral("unido"), r.ConAnterior}});
      o.insert(kPorRehacer, rehacer);
    }
    juegos.insert(QString::fromStdString(clave), o);
  }
  return juegos;
}

}  // namespace

std::string PartidasEnJson(const TPartidasGuardadas& partidas) {
  return RegistroEnJson(kFormato, EnJson(partidas));
}

TPartidasGuardadas LeerPartidasJson(std::string_view datos) {
  return LeerRegistroJson<TPartidaGuardada>(datos, kFormato, LeerUna);
}

TPartidasGuardadas LeerPartidas(const std::filesystem::path& carpeta) {
  return LeerPartidasJson(LeerArchivoRegistro(carpeta, kFormato));
}

std::optional<TPartidaGuardada> LeerPartida(const std::filesystem::path& carpeta,
                                            const std::string& clave) {
  TPartidasGuardadas todas = LeerPartidas(carpeta);
  const auto it = todas.find(clave);
  if (it == todas.end()) return std::nullopt;
  return std::move(it->second);
}

bool GuardarPartida(const std::filesystem::path& carpeta, const std::string& clave,
                    const std::optional<TPartidaGuardada>& partida) {
  TPartidasGuardadas todas = LeerPartidas(carpeta);
  if (partida)
    todas[clave] = *partida;
  else if (todas.erase(clave) == 0)
    return true;
  return GuardarRegistro(carpeta, kFormato, EnJson(todas));
}
