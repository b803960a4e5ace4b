// Offset-indexed numeric arrays and the in-place multi-dimensional FFT.
//
// Every allocator hands back a pointer moved so that the caller indexes with its own bounds:
// vector(1, 4) returns v with v[1] .. v[4] usable. Each block carries one spare element in
// front of the first usable one; the release functions undo the same offset before freeing.
#pragma once

[[noreturn]] void nrerror(const char *error_text);

float *vector(long nl, long nh);
int *ivector(long nl, long nh);
unsigned char *cvector(long nl, long nh);
unsigned long *lvector(long nl, long nh);
double *dvector(long nl, long nh);
float **matrix(long nrl, long nrh, long ncl, long nch);
double **dmatrix(long nrl, long nrh, long ncl, long nch);
int **imatrix(long nrl, long nrh, long ncl, long nch);
float **submatrix(float **a, long oldrl, long oldrh, long oldcl, long oldch, long newrl,
                  long newcl);
float **convert_matrix(float *a, long nrl, long nrh, long ncl, long nch);
float ***f3tensor(long nrl, long nrh, long ncl, long nch, long ndl, long ndh);

void free_vector(float *v, long nl, long nh);
void free_ivector(int *v, long nl, long nh);
void free_cvector(unsigned char *v, long nl, long nh);
void free_lvector(unsigned long *v, long nl, long nh);
void free_dvector(double *v, long nl, long nh);
void free_matrix(float **m, long nrl, long nrh, long ncl, long nch);
void free_dmatrix(double **m, long nrl, long nrh, long ncl, long nch);
void free_imatrix(int **m, long nrl, long nrh, long ncl, long nch);
void free_submatrix(float **b, long nrl, long nrh, long ncl, long nch);
void free_convert_matrix(float **b, long nrl, long nrh, long ncl, long nch);
void free_f3tensor(float ***t, long nrl, long nrh, long ncl, long nch, long ndl, long ndh);

// In-place complex FFT of ndim dimensions. data[1..2N] holds N complex values interleaved
// (real, imaginary), last dimension fastest; nn[1..ndim] are the lengths, each a power of two.
// isign +1 uses exp(+2 pi i k n / N), -1 the negative exponent; no normalisation.
void fourn(float data[], unsigned long nn[], int ndim, int isign);
