#pragma once

// A radio's two VFOs: A, on which it receives, and B.
enum class Vfo { A, B };
