// The records of the record library Mvx4_Var1 as the host lays them out in
// memory, for the automation server to read and write in place. The 32-bit
// host packs its records on 4-byte boundaries; a 64-bit host aligns them
// naturally, as the 64-bit type library declares. The checks below pin the
// 32-bit layout to the host's byte offsets.
#pragma once

#include <oaidl.h>

#include <cstddef>
#include <cstdint>

namespace kestrel::server::layout {

#ifndef _WIN64
#pragma pack(push, 4)
#endif

struct t_Poli {
  std::int32_t NuVert;
  SAFEARRAY* Vert;  // long, from index 0
  std::int32_t Color;
  std::int32_t CapaP;
};

struct t_Capa {
  BSTR Nombre;
  VARIANT_BOOL Encendida;
  std::int32_t ColorCapa;
  std::int16_t Estado;
  unsigned char Reserva[6];
};

struct t_Vertice {
  double X, Y, Z;
};

struct t_Curva {
  std::int32_t NuVertC;
  SAFEARRAY* VertC;  // t_Vertice, 0..NuVertC
  std::int32_t ColorC;
  VARIANT_BOOL TipoC;
};

struct t_Curvado {
  std::int32_t NuCurvas;
  double Param1, Param2, Param3;
  std::int16_t Param4, Param5, Param6;
  double Param7, Param8;
  VARIANT_BOOL Param9;
  SAFEARRAY* Curvas;  // t_Curva
};

struct t_Rotulo {
  BSTR Texto;
  std::int16_t CapaR;
  double Xr, Yr, Xr2, Yr2, Xr3, Yr3;
  double Giro, Altura;
  unsigned char Reserva72[8];
  std::int32_t Cuenta;
  BSTR Estilo;
  BSTR Texto3;
  std::int16_t Reserva92;
  std::int16_t DeCurva;
  double Xc, Yc;
};

struct t_Cabecera {
  std::int32_t Dato0;
  BSTR Texto4;
  unsigned char Datos8[40];
  BSTR Texto48;
  unsigned char Datos52[48];
};

struct t_Dibujo {
  BSTR Texto1;
  BSTR Texto2;
  t_Cabecera Cabecera;
  std::int32_t NuPun;
  SAFEARRAY* Nmb;  // BSTR
  SAFEARRAY* X;    // double
  SAFEARRAY* Y;
  SAFEARRAY* Z;
  SAFEARRAY* Cd;     // BSTR
  SAFEARRAY* infor;  // BSTR
  SAFEARRAY* Capa;   // short
  std::int32_t Nutria;
  SAFEARRAY* B1;  // long
  SAFEARRAY* B2;
  SAFEARRAY* B3;
  std::int32_t colTrilat;
  std::int32_t NuPolis;
  SAFEARRAY* poli;  // t_Poli
  std::int32_t NuRotulos;
  SAFEARRAY* Rotulo;  // t_Rotulo
  std::int32_t nuCapas;
  std::int32_t CapaActual;
  SAFEARRAY* Capas1;  // t_Capa
  t_Curvado Curvado;
  unsigned char Opciones[388];
  std::int32_t Extra;
};

struct t_Datos {
  std::int32_t NuDibujos;
  std::int32_t DibujoAct;
  SAFEARRAY* Dibujos;  // t_Dibujo
};

#ifndef _WIN64
#pragma pack(pop)

// The host's byte offsets.
static_assert(sizeof(t_Poli) == 16 && offsetof(t_Poli, Vert) == 4 && offsetof(t_Poli, Color) == 8 &&
              offsetof(t_Poli, CapaP) == 12);
static_assert(sizeof(t_Capa) == 20 && offsetof(t_Capa, Encendida) == 4 && offsetof(t_Capa, ColorCapa) == 8 &&
              offsetof(t_Capa, Estado) == 12 && offsetof(t_Capa, Reserva) == 14);
static_assert(sizeof(t_Curva) == 16 && offsetof(t_Curva, VertC) == 4 && offsetof(t_Curva, ColorC) == 8 &&
              offsetof(t_Curva, TipoC) == 12);
static_assert(sizeof(t_Curvado) == 60 && offsetof(t_Curvado, Param1) == 4 && offsetof(t_Curvado, Param2) == 12 &&
              offsetof(t_Curvado, Param3) == 20 && offsetof(t_Curvado, Param4) == 28 &&
              offsetof(t_Curvado, Param5) == 30 && offsetof(t_Curvado, Param6) == 32 &&
              offsetof(t_Curvado, Param7) == 36 && offsetof(t_Curvado, Param8) == 44 &&
              offsetof(t_Curvado, Param9) == 52 && offsetof(t_Curvado, Curvas) == 56);
static_assert(sizeof(t_Rotulo) == 112 && offsetof(t_Rotulo, CapaR) == 4 && offsetof(t_Rotulo, Xr) == 8 &&
              offsetof(t_Rotulo, Yr) == 16 && offsetof(t_Rotulo, Xr2) == 24 && offsetof(t_Rotulo, Yr2) == 32 &&
              offsetof(t_Rotulo, Xr3) == 40 && offsetof(t_Rotulo, Yr3) == 48 && offsetof(t_Rotulo, Giro) == 56 &&
              offsetof(t_Rotulo, Altura) == 64 && offsetof(t_Rotulo, Reserva72) == 72 &&
              offsetof(t_Rotulo, Cuenta) == 80 && offsetof(t_Rotulo, Estilo) == 84 &&
              offsetof(t_Rotulo, Texto3) == 88 && offsetof(t_Rotulo, Reserva92) == 92 &&
              offsetof(t_Rotulo, DeCurva) == 94 && offsetof(t_Rotulo, Xc) == 96 && offsetof(t_Rotulo, Yc) == 104);
static_assert(sizeof(t_Cabecera) == 100 && offsetof(t_Cabecera, Texto4) == 4 && offsetof(t_Cabecera, Texto48) == 48);
static_assert(sizeof(t_Dibujo) == 640 && offsetof(t_Dibujo, Texto2) == 4 && offsetof(t_Dibujo, Cabecera) == 8 &&
              offsetof(t_Dibujo, NuPun) == 108 && offsetof(t_Dibujo, Nmb) == 112 && offsetof(t_Dibujo, X) == 116 &&
              offsetof(t_Dibujo, Y) == 120 && offsetof(t_Dibujo, Z) == 124 && offsetof(t_Dibujo, Cd) == 128 &&
              offsetof(t_Dibujo, infor) == 132 && offsetof(t_Dibujo, Capa) == 136 &&
              offsetof(t_Dibujo, Nutria) == 140 && offsetof(t_Dibujo, B1) == 144 && offsetof(t_Dibujo, B2) == 148 &&
              offsetof(t_Dibujo, B3) == 152 && offsetof(t_Dibujo, colTrilat) == 156 &&
              offsetof(t_Dibujo, NuPolis) == 160 && offsetof(t_Dibujo, poli) == 164 &&
              offsetof(t_Dibujo, NuRotulos) == 168 && offsetof(t_Dibujo, Rotulo) == 172 &&
              offsetof(t_Dibujo, nuCapas) == 176 && offsetof(t_Dibujo, CapaActual) == 180 &&
              offsetof(t_Dibujo, Capas1) == 184 && offsetof(t_Dibujo, Curvado) == 188 &&
              offsetof(t_Dibujo, Opciones) == 248 && offsetof(t_Dibujo, Extra) == 636);
static_assert(sizeof(t_Datos) == 12 && offsetof(t_Datos, DibujoAct) == 4 && offsetof(t_Datos, Dibujos) == 8);
#else
// Natural alignment, as the 64-bit type library lays the records out.
static_assert(sizeof(t_Poli) == 24 && sizeof(t_Capa) == 24 && sizeof(t_Curva) == 24 && sizeof(t_Curvado) == 72 &&
              sizeof(t_Rotulo) == 136 && sizeof(t_Cabecera) == 112 && sizeof(t_Dibujo) == 736 &&
              sizeof(t_Datos) == 16);
#endif

}  // namespace kestrel::server::layout
