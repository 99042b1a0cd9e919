#include "play/registros/PartidaGuardada.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

#include "play/Archivos.h"
#include "tools/Pasos.h"

namespace {

constexpr std::size_t kMaximoArchivo = 8 * 1024 * 1024;
constexpr qsizetype kMaximoPasos = 200000;

// A whole number within [minimo, maximo], or none.
std::optional<double> Entero(const QJsonValue& v, double minimo, double maximo) {
  if (!v.isDouble()) return std::nullopt;
  const double d = v.toDouble();
  if (!std::isfinite(d) || d != std::floor(d) || d < minimo || d > maximo) return std::nullopt;
  return d;
}

std::optional<TPartidaGuardada> LeerUna(const QJsonValue& valor) {
  if (!valor.isObject()) return std::nullopt;
  const QJsonObject o = valor.toObject();
  const auto numero = Entero(o.value(QStringLiteral("numero")),
                             std::numeric_limits<std::int32_t>::min(),
                             std::numeric_limits<std::int32_t>::max());
  const auto minutos = Entero(o.value(QStringLiteral("minutos")), 0, 65535);
  const QJsonValue ayuda = o.value(QStringLiteral("ayuda"));
  const QJsonValue pasos = o.value(QStringLiteral("pasos"));
  if (!numero || !minutos || !ayuda.isBool() || !pasos.isArray()) return std::nullopt;
  const QJsonArray lista = pasos.toArray();
  if (lista.size() > kMaximoPasos) return std::nullopt;
  TPartidaGuardada p;
  p.Numero = static_cast<std::int32_t>(*numero);
  p.Minutos = static_cast<std::uint16_t>(*minutos);
  p.AyudaUsada = ayuda.toBool();
  p.Pasos.reserve(static_cast<std::size_t>(lista.size()));
  for (const QJsonValue& paso : lista) {
    if (!paso.isString()) return std::nullopt;
    std::string texto = paso.toString().toStdString();
    if (!LeerPaso(texto)) return std::nullopt;
    p.Pasos.push_back(std::move(texto));
  }
  return p;
}

}  // namespace

std::string PartidasEnJson(const TPartidasGuardadas& partidas) {
  QJsonObject juegos;
  for (const auto& [clave, p] : partidas) {
    QJsonArray pasos;
    for (const std::string& paso : p.Pasos) pasos.append(QString::fromStdString(paso));
    juegos.insert(QString::fromStdString(clave),
                  QJsonObject{{QStringLiteral("numero"), static_cast<double>(p.Numero)},
                              {QStringLiteral("minutos"), static_cast<double>(p.Minutos)},
                              {QStringLiteral("ayuda"), p.AyudaUsada},
                              {QStringLiteral("pasos"), pasos}});
  }
  const QJsonObject raiz{{QStringLiteral("version"), VersionPartidas},
                         {QStringLiteral("partidas"), juegos}};
  return QJsonDocument(raiz).toJson(QJsonDocument::Indented).toStdString();
}

TPartidasGuardadas LeerPartidasJson(std::string_view datos) {
  TPartidasGuardadas r;
  if (datos.size() > kMaximoArchivo) return r;
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(
      QByteArray(datos.data(), static_cast<qsizetype>(datos.size())), &error);
  if (error.error != QJsonParseError::NoError || !doc.isObject()) return r;
  const QJsonObject raiz = doc.object();
  if (Entero(raiz.value(QStringLiteral("version")), VersionPartidas, VersionPartidas) ==
      std::nullopt)
    return r;
  const QJsonValue juegos = raiz.value(QStringLiteral("partidas"));
  if (!juegos.isObject()) return r;
  const QJsonObject o = juegos.toObject();
  for (auto it = o.begin(); it != o.end(); ++it) {
    if (it.key().isEmpty()) continue;
    if (auto p = LeerUna(it.value())) r.emplace(it.key().toStdString(), std::move(*p));
  }
  return r;
}

TPartidasGuardadas LeerPartidas(const std::filesystem::path& carpeta) {
  const auto datos = LeerArchivo(carpeta / ArchivoPartidas, kMaximoArchivo + 1);
  return datos ? LeerPartidasJson(*datos) : TPartidasGuardadas{};
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
  return EscribirArchivoAtomico(carpeta / ArchivoPartidas, PartidasEnJson(todas));
}
