#pragma once

// A VFO as the program names it to Hamlib: the one the radio uses now, A or B.
enum class HamlibVfo { Current, A, B };
