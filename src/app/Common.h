#pragma once
// Unit Common: filled in with its helpers.
namespace app {}
