// The methods of the automation interface `_c_Kestrel`, in interface order.
// The order binds early-bound hosts: a method keeps its number for ever.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kestrel::bridge {

struct MethodEntry {
  int number;
  std::string_view name;
  int parameters;  // how many parameters the method declares
};

inline constexpr std::array<MethodEntry, 47> kCatalogue{{
    {1, "Mira", 0},
    {2, "IniciaAutocad", 5},
    {3, "Color_True", 0},
    {4, "A_Zoom_extension", 0},
    {5, "Mete_Entidades", 10},
    {6, "Mete_Pun", 8},
    {7, "A_Show_Seleccion_datos", 9},
    {8, "Ch4_CreateHatch", 6},
    {9, "Autocad_Genera_Puntos", 0},
    {10, "Autocad_Genera_Textos0", 1},
    {11, "Dibuja_perfil", 3},
    {12, "Obten_objetos1", 5},
    {13, "Mete_dibujo", 1},
    {14, "Example_Documents", 1},
    {15, "Copia_Todo1", 2},
    {16, "Obten_objetos", 9},
    {17, "Copia_Todo2", 3},
    {18, "Bloques_descompon", 0},
    {19, "Dexompon_Zombie", 3},
    {20, "LongToRGB", 1},
    {21, "Bloques_Saca", 3},
    {22, "Atributos", 0},
    {23, "Pega_Polilinea", 1},
    {24, "A_Show_Seleccion_datos1", 0},
    {25, "Mete", 2},
    {26, "Autocad_Genera_Rotulos", 1},
    {27, "Autocad_Genera_Rotulos_Bloques", 0},
    {28, "Autocad_crea_Bloques", 0},
    {29, "Autocad_genera_Bloques", 0},
    {30, "A_Colores", 15},
    {31, "A_Color_Tri", 2},
    {32, "Triang_int_Pol", 1},
    {33, "Colores_TRI", 0},
    {34, "Lee_Document", 2},
    {35, "Lee_Documents", 2},
    {36, "Copia__Seleccion", 3},
    {37, "Copia__Todo", 5},
    {38, "Copia_Pol", 1},
    {39, "ListSelectionSets", 2},
    {40, "Copia_Todo3", 3},
    {41, "Analiza__Todo", 2},
    {42, "Propiedades_Cad_Ver", 3},
    {43, "Entidades_ver", 1},
    {44, "ENTIDADES", 2},
    {45, "Dibujo_Vacio", 2},
    {46, "Propiedades_Cad", 6},
    {47, "Autocad_Genera_Textos", 1},
}};

// The enumeration `e_Entidades`: which entity families an import reads.
enum e_Entidades : std::int32_t {
  CadPuntos = 1,
  CadPolylin = 2,
  CadLines = 3,
  cadTextos = 4,
  cadCirculos = 5,
  cadCara3D = 6,
  cadTodo = 7,
};

// The programmatic identifier of the class.
inline constexpr std::string_view kProgId = "Mvx4_Kestrel.c_Kestrel";

}  // namespace kestrel::bridge
