// IAPWS-95 coefficients: the ideal-gas part (with the first-edition n1 and
// n2) and the 56 residual terms, in the order of the release, split into
// the four groups of terms.
#pragma once

namespace vapordex::iapws95 {

// Ideal-gas part. n1 and n2 are the values of the first edition of the
// release, -8.32044648201 and 6.6832105268.
inline constexpr double kIdealN[8] = {-8.32044648201, 6.6832105268, 3.00632, 0.012436,
                                      0.97315,        1.2795,       0.96956, 0.24873};
// gamma0 of terms 4 to 8.
inline constexpr double kIdealGamma[5] = {1.28728967, 3.53734222, 7.74073708, 9.24437796,
                                          27.5075105};

// Terms 1 to 7: n delta^d tau^t.
inline constexpr int kPolyD[] = {
    1, 1, 1, 2, 2, 3, 4,
};
inline constexpr double kPolyT[] = {
    -0.5, 0.875, 1, 0.5, 0.75, 0.375, 1,
};
inline constexpr double kPolyN[] = {
    0.12533547935523e-1, 0.78957634722828e1,   -0.87803203303561e1, 0.31802509345418,
    -0.26145533859358,   -0.78199751687981e-2, 0.88089493102134e-2,
};

// Terms 8 to 51: n delta^d tau^t exp(-delta^c).
inline constexpr int kExpC[] = {
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2,
    2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 4, 6, 6, 6, 6,
};
inline constexpr int kExpD[] = {
    1, 1, 1, 2, 2, 3, 4, 4, 5, 7, 9,  10, 11, 13, 15, 1, 2, 2,  2, 3, 4, 4,
    4, 5, 6, 6, 7, 9, 9, 9, 9, 9, 10, 10, 12, 3,  4,  4, 5, 14, 3, 6, 6, 6,
};
inline constexpr int kExpT[] = {
    4,  6,  12, 1,  5,  4, 2, 13, 9, 3, 4, 11, 4, 13, 1,  7,  1,  9,  10, 10, 3,  7,
    10, 10, 6,  10, 10, 1, 2, 3,  4, 8, 6, 9,  8, 16, 22, 23, 23, 10, 50, 44, 46, 50,
};
inline constexpr double kExpN[] = {
    -0.66856572307965,    0.20433810950965,      -0.66212605039687e-4, -0.19232721156002,
    -0.25709043003438,    0.16074868486251,      -0.40092828925807e-1, 0.39343422603254e-6,
    -0.75941377088144e-5, 0.56250979351888e-3,   -0.15608652257135e-4, 0.11537996422951e-8,
    0.36582165144204e-6,  -0.13251180074668e-11, -0.62639586912454e-9, -0.10793600908932,
    0.17611491008752e-1,  0.22132295167546,      -0.40247669763528,    0.58083399985759,
    0.49969146990806e-2,  -0.31358700712549e-1,  -0.74315929710341,    0.47807329915480,
    0.20527940895948e-1,  -0.13636435110343,     0.14180634400617e-1,  0.83326504880713e-2,
    -0.29052336009585e-1, 0.38615085574206e-1,   -0.20393486513704e-1, -0.16554050063734e-2,
    0.19955571979541e-2,  0.15870308324157e-3,   -0.16388568342530e-4, 0.43613615723811e-1,
    0.34994005463765e-1,  -0.76788197844621e-1,  0.22446277332006e-1,  -0.62689710414685e-4,
    -0.55711118565645e-9, -0.19905718354408,     0.31777497330738,     -0.11841182425981,
};

// Terms 52 to 54: n delta^d tau^t exp(-20 (delta - 1)^2 - beta (tau - gamma)^2).
inline constexpr int kGaussD[] = {
    3,
    3,
    3,
};
inline constexpr int kGaussT[] = {
    0,
    1,
    4,
};
inline constexpr double kGaussN[] = {
    -0.31306260323435e2,
    0.31546140237781e2,
    -0.25213154341695e4,
};
inline constexpr double kGaussBeta[] = {
    150,
    150,
    250,
};
inline constexpr double kGaussGamma[] = {
    1.21,
    1.21,
    1.25,
};
inline constexpr double kGaussAlpha = 20.0;
inline constexpr double kGaussEpsilon = 1.0;

// Terms 55 and 56: n Delta^b delta psi.
inline constexpr double kNonAnalyticN[] = {
    -0.14874640856724,
    0.31806110878444,
};
inline constexpr double kNonAnalyticB[] = {
    0.85,
    0.95,
};
inline constexpr double kNonAnalyticBeta[] = {
    0.3,
    0.3,
};
inline constexpr double kNonAnalyticC[] = {
    28,
    32,
};
inline constexpr double kNonAnalyticD[] = {
    700,
    800,
};
inline constexpr double kNonAnalyticA = 3.5;
inline constexpr double kNonAnalyticBigB = 0.2;
inline constexpr double kNonAnalyticBigA = 0.32;

}  // namespace vapordex::iapws95
