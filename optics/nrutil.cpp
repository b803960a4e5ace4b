#include "optics/nrutil.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

constexpr long NR_END = 1;  // the spare element in front of every block

// malloc of count elements of size bytes, or nullptr when the count is not positive or the
// byte size does not fit: a refused allocation, reported by the caller like any other.
void *allocate(long count, std::size_t size)
{
    if (count <= 0 ||
        static_cast<unsigned long>(count) > std::numeric_limits<std::size_t>::max() / size)
        return nullptr;
    return std::malloc(static_cast<std::size_t>(count) * size);
}

// count = a * b (+ extra) without overflow; -1 when it does not fit.
long product(long a, long b, long extra = 0)
{
    long p;
    if (a <= 0 || b <= 0 || __builtin_mul_overflow(a, b, &p) ||
        __builtin_add_overflow(p, extra, &p))
        return -1;
    return p;
}

template <typename T> T *offset_vector(long nl, long nh, const char *message)
{
    long count;
    if (__builtin_sub_overflow(nh, nl, &count) || __builtin_add_overflow(count, 1 + NR_END, &count))
        nrerror(message);
    T *v = static_cast<T *>(allocate(count, sizeof(T)));
    if (!v) nrerror(message);
    return v - nl + NR_END;
}

template <typename T> void free_offset_vector(T *v, long nl) { std::free(v + nl - NR_END); }

// Row pointers plus one contiguous, row-major element block.
template <typename T> T **offset_matrix(long nrl, long nrh, long ncl, long nch)
{
    const long nrow = nrh - nrl + 1, ncol = nch - ncl + 1;
    const long elements = product(nrow, ncol, NR_END);
    T **m = static_cast<T **>(allocate(nrow > 0 ? nrow + NR_END : -1, sizeof(T *)));
    if (!m) nrerror("allocation failure 1 in matrix()");
    m += NR_END;
    m -= nrl;
    m[nrl] = static_cast<T *>(allocate(elements, sizeof(T)));
    if (!m[nrl]) nrerror("allocation failure 2 in matrix()");
    m[nrl] += NR_END;
    m[nrl] -= ncl;
    for (long i = nrl + 1; i <= nrh; i++) m[i] = m[i - 1] + ncol;
    return m;
}

template <typename T> void free_offset_matrix(T **m, long nrl, long ncl)
{
    std::free(m[nrl] + ncl - NR_END);
    std::free(m + nrl - NR_END);
}

}  // namespace

void nrerror(const char *error_text)
{
    std::fprintf(stderr, "Ostrand run-time error...\n");
    std::fprintf(stderr, "%s\n", error_text);
    std::fprintf(stderr, "...now exiting to system...\n");
    std::exit(1);
}

float *vector(long nl, long nh)
{
    return offset_vector<float>(nl, nh, "allocation failure in vector()");
}
int *ivector(long nl, long nh)
{
    return offset_vector<int>(nl, nh, "allocation failure in ivector()");
}
unsigned char *cvector(long nl, long nh)
{
    return offset_vector<unsigned char>(nl, nh, "allocation failure in cvector()");
}
unsigned long *lvector(long nl, long nh)
{
    return offset_vector<unsigned long>(nl, nh, "allocation failure in lvector()");
}
double *dvector(long nl, long nh)
{
    return offset_vector<double>(nl, nh, "allocation failure in dvector()");
}

float **matrix(long nrl, long nrh, long ncl, long nch)
{
    return offset_matrix<float>(nrl, nrh, ncl, nch);
}
double **dmatrix(long nrl, long nrh, long ncl, long nch)
{
    return offset_matrix<double>(nrl, nrh, ncl, nch);
}
int **imatrix(long nrl, long nrh, long ncl, long nch)
{
    return offset_matrix<int>(nrl, nrh, ncl, nch);
}

float **submatrix(float **a, long oldrl, long oldrh, long oldcl, long /*oldch*/, long newrl,
                  long newcl)
{
    const long nrow = oldrh - oldrl + 1, column_shift = oldcl - newcl;
    float **m = static_cast<float **>(allocate(nrow > 0 ? nrow + NR_END : -1, sizeof(float *)));
    if (!m) nrerror("allocation failure in submatrix()");
    m += NR_END;
    m -= newrl;
    for (long i = oldrl, j = newrl; i <= oldrh; i++, j++) m[j] = a[i] + column_shift;
    return m;
}

float **convert_matrix(float *a, long nrl, long nrh, long ncl, long nch)
{
    const long nrow = nrh - nrl + 1, ncol = nch - ncl + 1;
    float **m = static_cast<float **>(allocate(nrow > 0 ? nrow + NR_END : -1, sizeof(float *)));
    if (!m) nrerror("allocation failure in convert_matrix()");
    m += NR_END;
    m -= nrl;
    m[nrl] = a - ncl;
    for (long i = 1, j = nrl + 1; i < nrow; i++, j++) m[j] = m[j - 1] + ncol;
    return m;
}

float ***f3tensor(long nrl, long nrh, long ncl, long nch, long ndl, long ndh)
{
    const long nrow = nrh - nrl + 1, ncol = nch - ncl + 1, ndep = ndh - ndl + 1;
    float ***t = static_cast<float ***>(allocate(nrow > 0 ? nrow + NR_END : -1, sizeof(float **)));
    if (!t) nrerror("allocation failure 1 in f3tensor()");
    t += NR_END;
    t -= nrl;
    t[nrl] = static_cast<float **>(allocate(product(nrow, ncol, NR_END), sizeof(float *)));
    if (!t[nrl]) nrerror("allocation failure 2 in f3tensor()");
    t[nrl] += NR_END;
    t[nrl] -= ncl;
    const long cells = product(nrow, ncol);
    t[nrl][ncl] = static_cast<float *>(
        allocate(cells < 0 ? -1 : product(cells, ndep, NR_END), sizeof(float)));
    if (!t[nrl][ncl]) nrerror("allocation failure 3 in f3tensor()");
    t[nrl][ncl] += NR_END;
    t[nrl][ncl] -= ndl;
    for (long j = ncl + 1; j <= nch; j++) t[nrl][j] = t[nrl][j - 1] + ndep;
    for (long i = nrl + 1; i <= nrh; i++) {
        t[i] = t[i - 1] + ncol;
        t[i][ncl] = t[i - 1][ncl] + ncol * ndep;
        for (long j = ncl + 1; j <= nch; j++) t[i][j] = t[i][j - 1] + ndep;
    }
    return t;
}

void free_vector(float *v, long nl, long /*nh*/) { free_offset_vector(v, nl); }
void free_ivector(int *v, long nl, long /*nh*/) { free_offset_vector(v, nl); }
void free_cvector(unsigned char *v, long nl, long /*nh*/) { free_offset_vector(v, nl); }
void free_lvector(unsigned long *v, long nl, long /*nh*/) { free_offset_vector(v, nl); }
void free_dvector(double *v, long nl, long /*nh*/) { free_offset_vector(v, nl); }

void free_matrix(float **m, long nrl, long, long ncl, long) { free_offset_matrix(m, nrl, ncl); }
void free_dmatrix(double **m, long nrl, long, long ncl, long) { free_offset_matrix(m, nrl, ncl); }
void free_imatrix(int **m, long nrl, long, long ncl, long) { free_offset_matrix(m, nrl, ncl); }

void free_submatrix(float **b, long nrl, long, long, long) { std::free(b + nrl - NR_END); }
void free_convert_matrix(float **b, long nrl, long, long, long) { std::free(b + nrl - NR_END); }

void free_f3tensor(float ***t, long nrl, long, long ncl, long, long ndl, long)
{
    std::free(t[nrl][ncl] + ndl - NR_END);
    std::free(t[nrl] + ncl - NR_END);
    std::free(t + nrl - NR_END);
}
